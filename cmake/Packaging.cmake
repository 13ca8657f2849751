# What a workshop installs besides the programs (menu entry, icons, manual pages,
# copyright) and the CPack setup of the Debian package; on Windows, the ZIP and the
# installer of WindowsDistribution.cmake. Included from the top-level
# CMakeLists.txt after every target.
#   Debian:  cpack --config <build>/CPackConfig.cmake -G DEB
#   Windows: cmake --build <build> --target windows_dist

set(TACHO_PACKAGING_DIR "${PROJECT_SOURCE_DIR}/packaging")
set(TACHO_PACKAGE_MAINTAINER "Tachocalib developers <tachocalib@example.org>"
    CACHE STRING "Maintainer named in the Debian package")

# The emulator plays the device on a pseudo-terminal, so it ships on Linux only.
if(TARGET tachocalib-emulator AND NOT WIN32)
  install(TARGETS tachocalib-emulator RUNTIME DESTINATION bin)
endif()

if(UNIX AND NOT APPLE)
  if(TARGET Tachocalib)
    install(FILES "${TACHO_PACKAGING_DIR}/tachocalib.desktop" DESTINATION share/applications)
    install(FILES "${TACHO_PACKAGING_DIR}/icons/tachocalib.svg"
            DESTINATION share/icons/hicolor/scalable/apps)
    foreach(size 16 22 24 32 48 64 128 256)
      install(FILES "${TACHO_PACKAGING_DIR}/icons/hicolor/${size}x${size}/apps/tachocalib.png"
              DESTINATION share/icons/hicolor/${size}x${size}/apps)
    endforeach()
  endif()

  # Manual pages and the changelog go out gzipped, with -n: no name or time stamp
  # inside, so they are the same bytes on every build (lintian checks this).
  set(docs changelog share/doc/tachocalib)
  if(TARGET Tachocalib)
    list(APPEND docs man/Tachocalib.1 share/man/man1 man/ru/Tachocalib.1 share/man/ru/man1)
  endif()
  if(TARGET tachocalib-emulator)
    list(APPEND docs man/tachocalib-emulator.1 share/man/man1)
  endif()
  find_program(TACHO_GZIP gzip REQUIRED)
  set(gzipped)
  while(docs)
    list(POP_FRONT docs source destination)
    set(plain "${PROJECT_BINARY_DIR}/packaging/${source}")
    add_custom_command(
      OUTPUT "${plain}.gz"
      COMMAND "${CMAKE_COMMAND}" -E copy "${TACHO_PACKAGING_DIR}/${source}" "${plain}"
      COMMAND "${TACHO_GZIP}" -n -9 -f "${plain}"
      DEPENDS "${TACHO_PACKAGING_DIR}/${source}"
      VERBATIM)
    list(APPEND gzipped "${plain}.gz")
    install(FILES "${plain}.gz" DESTINATION "${destination}")
  endwhile()
  add_custom_target(tacho_packaging_docs ALL DEPENDS ${gzipped})
  install(FILES "${TACHO_PACKAGING_DIR}/copyright" DESTINATION share/doc/tachocalib)
endif()

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsDistribution.cmake)
endif()

set(CPACK_PACKAGE_NAME tachocalib)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Tachocalib developers")
set(CPACK_PACKAGE_CONTACT "${TACHO_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "writes calibration presets and GSM settings into a digital tachograph")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(NOT WIN32)
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # dpkg-shlibdeps (dpkg-dev) adds libc, libstdc++ and the Qt 6 libraries the
  # programs link; the window also needs a platform plugin, which libqt6gui6
  # only recommends.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  # Tahoma for the window's fonts; Russian texts for Qt's own dialog buttons.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine, qt6-translations-l10n")
  # The long description; CPack puts the summary above it.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Tachocalib is a desktop tool for vehicle service workshops. Over a serial
line (9600 baud, 8 data bits, even parity, 1 stop bit) it writes calibration
presets into a digital tachograph, reads and writes the settings of the
tachograph's GSM modem, finds the device on ports COM1 to COM42, and saves
all entries to a text file. Its window speaks Russian.
.
To open USB serial adapters the user must be in the dialout group:
  sudo usermod -aG dialout $USER
then log out and log in again.
.
The package also holds tachocalib-emulator, which plays the tachograph's
side on a pseudo-terminal, for trying the tool without a device.")
  # On Windows the packages are the targets of WindowsDistribution.cmake.
  include(CPack)
endif()
