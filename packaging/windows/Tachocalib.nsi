; The installer of the Windows program. It installs for the current user only,
; without administrator rights, into %LOCALAPPDATA%\Programs\Tachocalib, puts a
; shortcut into the user's Start menu, an uninstaller beside the program, and the
; program's entry into the user's list of installed programs. /S installs and
; uninstalls silently.
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.1.2 -DEXE=<Tachocalib.exe>
;            -DDOCS=<folder with README-ru.txt and LICENSE.txt> -DICON=<.ico>
;            -DOUTFILE=<Tachocalib-1.1.2-setup.exe> Tachocalib.nsi
; The build runs this through its target windows_installer.

; A 64-bit Unicode installer, like the program it carries.
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!ifndef VERSION | EXE | DOCS | ICON | OUTFILE
  !error "VERSION, EXE, DOCS, ICON and OUTFILE must all be given with -D"
!endif

!define PRODUCT "Программа записи калибровочных данных"
!define PUBLISHER "Tachocalib developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tachocalib"
!define UNINSTALLER "uninstall.exe"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tachocalib"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tachocalib ${VERSION}"

!include MUI2.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tachocalib.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README-ru.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

; The installer's own version record.
VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка: ${PRODUCT}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "© 2026 The Tachocalib developers, MIT"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${VERSION}.0"

; The user's own Start menu, not the one shared by all users.
Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File "/oname=Tachocalib.exe" "${EXE}"
  File "${DOCS}/README-ru.txt"
  File "${DOCS}/LICENSE.txt"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; Starts in the program's folder ($OUTDIR).
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Tachocalib.exe" "" "$INSTDIR\Tachocalib.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tachocalib.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes exactly what the installer put in, so a folder the user chose that
; holds other files keeps them. A running program cannot be deleted: then
; nothing is removed, so the entry in the installed programs still leads here.
Section "Uninstall"
  ClearErrors
  Delete "$INSTDIR\Tachocalib.exe"
  IfErrors 0 +3
    MessageBox MB_ICONEXCLAMATION|MB_OK "«${PRODUCT}» запущена. Закройте её и повторите удаление." /SD IDOK
    Abort
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\README-ru.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
