# What a Windows user downloads: the program file with a Russian read-me and the
# licence, as a portable ZIP and as a per-user installer made with NSIS.
#   cmake --build <build> --target windows_dist     (windows_zip, windows_installer)
# Both land in <build>/dist/. Included from Packaging.cmake in a Windows build.

# The program packaged: the Windows front end; in a build without it, the test
# stand-in window, so the packaging can be built and tested all the same.
if(TARGET Tachocalib)
  set(program Tachocalib)
elseif(TARGET windows_stand_in_window)
  set(program windows_stand_in_window)
  message(STATUS "Windows packages: no Tachocalib target, packaging the test stand-in window")
else()
  return()
endif()

set(dist_dir "${PROJECT_BINARY_DIR}/dist")
set(files_dir "${dist_dir}/files")  # exactly what the ZIP holds
set(zip "${dist_dir}/Tachocalib-${PROJECT_VERSION}-win64.zip")
set(installer "${dist_dir}/Tachocalib-${PROJECT_VERSION}-setup.exe")
set(windows_dir "${TACHO_PACKAGING_DIR}/windows")
# Tells the test stage which program the packages carry.
file(WRITE "${dist_dir}/packaged-program.txt" "${program}\n")

# The read-me names the driver installer and the web address that the program's
# help names, taken from the one place they are written.
set(help_header "${PROJECT_SOURCE_DIR}/window/HelpText.h")
file(READ "${help_header}" help_text)
foreach(name DriverInstallerName MakerWebAddress)
  if(NOT help_text MATCHES "k${name} = u\"([^\"]*)\"")
    message(FATAL_ERROR "k${name} not found in ${help_header}")
  endif()
  set(TACHO_${name} "${CMAKE_MATCH_1}")
endforeach()
set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             "${help_header}" "${TACHO_PACKAGING_DIR}/copyright")
# UTF-8 with a byte-order mark (kept from the template) and CR LF: Notepad shows
# it right on every Windows.
configure_file("${windows_dir}/README-ru.txt.in" "${files_dir}/README-ru.txt" @ONLY NEWLINE_STYLE CRLF)

# LICENSE.txt: the MIT text of packaging/copyright, as plain text.
file(STRINGS "${TACHO_PACKAGING_DIR}/copyright" copyright_lines ENCODING UTF-8)
set(copyright_holder)
set(license_body)
set(in_license OFF)
foreach(line IN LISTS copyright_lines)
  if(NOT copyright_holder AND line MATCHES "^Copyright: (.+)$")
    set(copyright_holder "${CMAKE_MATCH_1}")
  elseif(line STREQUAL "License: MIT")
    set(in_license ON)
  elseif(in_license AND line MATCHES "^ (.*)$")
    set(text "${CMAKE_MATCH_1}")
    if(text STREQUAL ".")
      set(text "")
    endif()
    string(APPEND license_body "${text}\n")
  else()
    set(in_license OFF)
  endif()
endforeach()
if(NOT copyright_holder OR NOT license_body)
  message(FATAL_ERROR "no copyright line or MIT text in ${TACHO_PACKAGING_DIR}/copyright")
endif()
file(CONFIGURE OUTPUT "${files_dir}/LICENSE.txt"
     CONTENT "MIT License\n\nCopyright (c) ${copyright_holder}\n\n${license_body}" NEWLINE_STYLE CRLF)

# The program file, without its debugging data.
set(exe "${files_dir}/Tachocalib.exe")
add_custom_command(
  OUTPUT "${exe}"
  COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE:${program}>" "${exe}"
  COMMAND "${CMAKE_STRIP}" --strip-all "${exe}"
  DEPENDS ${program}
  VERBATIM)

# Files at the archive's top, with a fixed time stamp, so the same program gives
# the same archive.
set(zip_files Tachocalib.exe README-ru.txt LICENSE.txt)
add_custom_command(
  OUTPUT "${zip}"
  COMMAND "${CMAKE_COMMAND}" -E rm -f "${zip}"
  COMMAND "${CMAKE_COMMAND}" -E tar cf "${zip}" --format=zip "--mtime=2026-01-01 00:00:00 UTC" -- ${zip_files}
  WORKING_DIRECTORY "${files_dir}"
  DEPENDS "${exe}" "${files_dir}/README-ru.txt" "${files_dir}/LICENSE.txt"
  VERBATIM)
add_custom_target(windows_zip DEPENDS "${zip}")
add_custom_target(windows_dist DEPENDS "${zip}")

find_program(TACHO_MAKENSIS makensis)
if(NOT TACHO_MAKENSIS)
  message(STATUS "Windows packages: makensis not found (Debian: nsis), no installer")
  return()
endif()
set(nsi "${windows_dir}/Tachocalib.nsi")
add_custom_command(
  OUTPUT "${installer}"
  COMMAND "${TACHO_MAKENSIS}" -V2 -WX -INPUTCHARSET UTF8
          "-DVERSION=${PROJECT_VERSION}" "-DEXE=${exe}" "-DDOCS=${files_dir}"
          "-DICON=${TACHO_PACKAGING_DIR}/icons/tachocalib.ico" "-DOUTFILE=${installer}" "${nsi}"
  DEPENDS "${nsi}" "${exe}" "${files_dir}/README-ru.txt" "${files_dir}/LICENSE.txt"
          "${TACHO_PACKAGING_DIR}/icons/tachocalib.ico"
  VERBATIM)
add_custom_target(windows_installer DEPENDS "${installer}")
add_dependencies(windows_dist windows_installer)
