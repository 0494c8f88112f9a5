; The Windows installer of the Morvane screen saver (`make installer` builds morvane-setup.exe).
; It puts morvane.scr in the 64-bit system folder, registers an uninstaller, and offers to make
; Morvane the current screen saver, remembering the previous one so the uninstaller can restore it.
; makensis -DSAVER=path/to/morvane.scr -DOUTFILE=path/to/morvane-setup.exe morvane.nsi

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!ifndef SAVER
  !define SAVER "..\build\windows\morvane.scr"
!endif
!ifndef OUTFILE
  !define OUTFILE "morvane-setup.exe"
!endif
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvane"
; Per user, like the screen-saver setting it describes.
!define INSTALLER_KEY "Software\Morvane\Installer"
!define DESKTOP_KEY "Control Panel\Desktop"

!include "MUI2.nsh"
!include "LogicLib.nsh"

Name "Morvane screen saver"
OutFile "${OUTFILE}"
; The saver is a 64-bit program: on 64-bit Windows its system folder is System32, which a 64-bit
; installer reaches without redirection.
InstallDir "$PROGRAMFILES64\Morvane"
RequestExecutionLevel admin
VIProductVersion "1.0.0.0"
VIAddVersionKey "ProductName" "Morvane screen saver"
VIAddVersionKey "CompanyName" "The Morvane developers"
VIAddVersionKey "LegalCopyright" "(c) 2026 The Morvane developers"
VIAddVersionKey "FileDescription" "Morvane screen saver setup"
VIAddVersionKey "FileVersion" "1.0.0.0"

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Morvane screen saver" SectionSaver
  SectionIn RO
  SetOutPath "$SYSDIR"
  File "/oname=morvane.scr" "${SAVER}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Morvane screen saver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "1.0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Morvane developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\morvane.scr"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Make Morvane the current screen saver" SectionCurrent
  ; Remember the previous saver once: installing again over Morvane must not make Morvane its
  ; own predecessor.
  ClearErrors
  ReadRegDWORD $1 HKCU "${INSTALLER_KEY}" "HasPrevious"
  ${If} ${Errors}
    ClearErrors
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${If} ${Errors}
      WriteRegDWORD HKCU "${INSTALLER_KEY}" "HasPrevious" 0
    ${Else}
      WriteRegDWORD HKCU "${INSTALLER_KEY}" "HasPrevious" 1
      WriteRegStr HKCU "${INSTALLER_KEY}" "PreviousScreenSaver" $0
    ${EndIf}
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\morvane.scr"
SectionEnd

Section "Uninstall"
  Delete "$SYSDIR\morvane.scr"
  ; The previous saver comes back only while Morvane is still the current one: a saver the user
  ; chose since then stays. Without a previous one the setting goes, rather than name a removed file.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "$SYSDIR\morvane.scr"
    ClearErrors
    ReadRegDWORD $1 HKCU "${INSTALLER_KEY}" "HasPrevious"
    ${If} ${Errors}
    ${OrIf} $1 <> 1
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${Else}
      ReadRegStr $2 HKCU "${INSTALLER_KEY}" "PreviousScreenSaver"
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $2
    ${EndIf}
  ${EndIf}
  DeleteRegKey HKCU "${INSTALLER_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Morvane"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
