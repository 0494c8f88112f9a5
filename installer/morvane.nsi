; The Windows installer of the Morvane screen saver (`make windows` builds it beside morvane.scr).
; It puts morvane.scr in the 64-bit system folder, registers an uninstaller, and offers to make
; Morvane the current screen saver and switch the screen saver on, remembering the settings it
; changes so the uninstaller can give them back.
;   makensis -DVERSION=1.0 -DVERSION4=1.0.0.0 -DSAVER=path\to\morvane.scr [-DOUTFILE=...] morvane.nsi
; The version comes from the build (CMake's project version), never from this file.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!ifndef VERSION | VERSION4
  !error "makensis needs -DVERSION=x.y and -DVERSION4=x.y.z.w (mk/windows.mk passes CMake's project version)"
!endif
!ifndef SAVER
  !define SAVER "..\build\windows\morvane.scr"
!endif
!ifndef OUTFILE
  !define OUTFILE "morvane-${VERSION}-setup.exe"
!endif
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvane"
; Per user, like the screen-saver settings it describes.
!define INSTALLER_KEY "Software\Morvane\Installer"
!define DESKTOP_KEY "Control Panel\Desktop"
!define PUBLISHER "The Morvane developers"
!define DEFAULT_TIMEOUT 600
!define SPI_SETSCREENSAVETIMEOUT 15
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE 1
!define SPIF_SENDCHANGE 2
; What deployment tools take as "installed, restart to finish".
!define ERROR_SUCCESS_REBOOT_REQUIRED 3010

!include "MUI2.nsh"
!include "LogicLib.nsh"

Name "Morvane screen saver"
OutFile "${OUTFILE}"
; The saver is a 64-bit program: on 64-bit Windows its system folder is System32, which a 64-bit
; installer reaches without redirection. An upgrade goes where the last install went.
InstallDir "$PROGRAMFILES64\Morvane"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
VIProductVersion "${VERSION4}"
VIAddVersionKey "ProductName" "Morvane screen saver"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "(c) 2026 The Morvane developers"
VIAddVersionKey "FileDescription" "Morvane screen saver setup"
VIAddVersionKey "FileVersion" "${VERSION4}"

; Set while installing: what the finish page adds to its text.
Var FinishNote
; The account the installer runs as, when it is not the one signed in to this session.
Var OtherAccount

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT_LARGE
; Nobody expects a screen saver to restart the computer: restarting is the user's choice.
!define MUI_FINISHPAGE_REBOOTLATER_DEFAULT
!define MUI_FINISHPAGE_TEXT "$(^NameDA) is installed.$FinishNote"
!define MUI_FINISHPAGE_TEXT_REBOOT "$(^NameDA) is installed. morvane.scr was in use (the Screen Saver \
  Settings' preview, for one): the new one takes its place when Windows restarts.$FinishNote"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_REBOOTLATER_DEFAULT
!define MUI_FINISHPAGE_TEXT_REBOOT "$(^NameDA) is removed. morvane.scr was in use: it is deleted when \
  Windows restarts."
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "English"

; FileKiB PATH: pushes the file's size in KiB, rounded up; 0 when it cannot be opened.
!macro FileKiB PATH
  Push $0
  Push $1
  ClearErrors
  FileOpen $1 "${PATH}" r
  ${If} ${Errors}
    StrCpy $0 0
  ${Else}
    FileSeek $1 0 END $0
    FileClose $1
    IntOp $0 $0 + 1023
    IntOp $0 $0 / 1024
  ${EndIf}
  Pop $1
  Exch $0
!macroend

; RememberDesktop NAME FLAG SAVED: keeps the desktop setting NAME as it was before the first
; install, once, so that installing again over Morvane does not record Morvane's own values.
; FLAG says what there was: 0 nothing, 1 a string, 2 a number; SAVED holds it.
!macro RememberDesktop NAME FLAG SAVED
  ClearErrors
  ReadRegDWORD $1 HKCU "${INSTALLER_KEY}" "${FLAG}"
  ${If} ${Errors}
    ClearErrors
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "${NAME}"
    ${IfNot} ${Errors}
      WriteRegDWORD HKCU "${INSTALLER_KEY}" "${FLAG}" 1
      WriteRegStr HKCU "${INSTALLER_KEY}" "${SAVED}" $0
    ${Else}
      ; ReadRegStr fails on a number too.
      ClearErrors
      ReadRegDWORD $0 HKCU "${DESKTOP_KEY}" "${NAME}"
      ${IfNot} ${Errors}
        WriteRegDWORD HKCU "${INSTALLER_KEY}" "${FLAG}" 2
        WriteRegDWORD HKCU "${INSTALLER_KEY}" "${SAVED}" $0
      ${Else}
        WriteRegDWORD HKCU "${INSTALLER_KEY}" "${FLAG}" 0
      ${EndIf}
    ${EndIf}
  ${EndIf}
!macroend

; RestoreDesktop NAME FLAG SAVED: writes back what RememberDesktop kept (or deletes NAME where
; there was nothing); leaves NAME alone when nothing was kept.
!macro RestoreDesktop NAME FLAG SAVED
  ClearErrors
  ReadRegDWORD $1 HKCU "${INSTALLER_KEY}" "${FLAG}"
  ${IfNot} ${Errors}
    ${If} $1 = 1
      ReadRegStr $2 HKCU "${INSTALLER_KEY}" "${SAVED}"
      WriteRegStr HKCU "${DESKTOP_KEY}" "${NAME}" $2
    ${ElseIf} $1 = 2
      ReadRegDWORD $2 HKCU "${INSTALLER_KEY}" "${SAVED}"
      WriteRegDWORD HKCU "${DESKTOP_KEY}" "${NAME}" $2
    ${Else}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "${NAME}"
    ${EndIf}
  ${EndIf}
!macroend

; DesktopNumber NAME: pushes the desktop setting NAME as a number, string or number alike (0 when
; absent or not a number).
!macro DesktopNumber NAME
  Push $0
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "${NAME}"
  ${If} ${Errors}
    ReadRegDWORD $0 HKCU "${DESKTOP_KEY}" "${NAME}"
  ${EndIf}
  IntOp $0 $0 + 0
  Exch $0
!macroend

; In a function, so that the space the components page asks for counts morvane.scr once.
Function ReplaceAtRestart
  File "/oname=morvane.scr.new" "${SAVER}"
  Rename /REBOOTOK "$SYSDIR\morvane.scr.new" "$SYSDIR\morvane.scr"
  DetailPrint "morvane.scr is in use: it is replaced when Windows restarts."
FunctionEnd

Section "Morvane screen saver" SectionSaver
  SectionIn RO
  SetOutPath "$SYSDIR"
  ; A running morvane.scr (the Screen Saver Settings keep a preview open) cannot be overwritten:
  ; then the new one waits beside it and takes its place at the next restart.
  SetOverwrite try
  ClearErrors
  File "/oname=morvane.scr" "${SAVER}"
  SetOverwrite on
  ${If} ${Errors}
    Call ReplaceAtRestart
    !insertmacro FileKiB "$SYSDIR\morvane.scr.new"
  ${Else}
    ; One left waiting by an earlier install would take the place of this one at the restart.
    Delete "$SYSDIR\morvane.scr.new"
    !insertmacro FileKiB "$SYSDIR\morvane.scr"
  ${EndIf}
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  !insertmacro FileKiB "$INSTDIR\uninstall.exe"
  Pop $1
  Pop $0
  IntOp $0 $0 + $1
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Morvane screen saver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\morvane.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "https://www.mrv.test/"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Make Morvane the current screen saver" SectionCurrent
  !insertmacro RememberDesktop "SCRNSAVE.EXE" "HasPrevious" "PreviousScreenSaver"
  !insertmacro RememberDesktop "ScreenSaveActive" "HasPreviousActive" "PreviousScreenSaveActive"
  !insertmacro RememberDesktop "ScreenSaveTimeOut" "HasPreviousTimeOut" "PreviousScreenSaveTimeOut"
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\morvane.scr"
  ; The system writes the setting and tells the running session; the registry is written directly
  ; only where it refuses.
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, \
    i ${SPIF_UPDATEINIFILE}|${SPIF_SENDCHANGE}) i .r0'
  ${If} $0 = 0
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ${EndIf}
  !insertmacro DesktopNumber "ScreenSaveTimeOut"
  Pop $0
  ${If} $0 <= 0
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVETIMEOUT}, i ${DEFAULT_TIMEOUT}, p 0, \
      i ${SPIF_UPDATEINIFILE}|${SPIF_SENDCHANGE}) i .r0'
    ${If} $0 = 0
      WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveTimeOut" "${DEFAULT_TIMEOUT}"
    ${EndIf}
  ${EndIf}
SectionEnd

; OtherAccount: the account this process runs as when the session belongs to another one (a
; standard user who typed an administrator's password to elevate), else empty. Left empty where
; either name cannot be read.
Function FindOtherAccount
  StrCpy $OtherAccount ""
  ; This process's account, from its token: TOKEN_QUERY, TokenUser.
  System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r1) i .r0'
  ${If} $0 = 0
    Return
  ${EndIf}
  System::Call 'advapi32::GetTokenInformation(p r1, i 1, p 0, i 0, *i .r2)'
  System::Alloc $2
  Pop $3
  System::Call 'advapi32::GetTokenInformation(p r1, i 1, p r3, i r2, *i .r2) i .r0'
  System::Call 'kernel32::CloseHandle(p r1)'
  ${If} $0 <> 0
    System::Call '*$3(p .r4)'
    System::Call 'advapi32::LookupAccountSidW(p 0, p r4, w .r5, *i ${NSIS_MAX_STRLEN}, \
      w .r6, *i ${NSIS_MAX_STRLEN}, *i .r7) i .r0'
  ${EndIf}
  System::Free $3
  ${If} $0 = 0
    Return
  ${EndIf}
  ; The account signed in to this session: WTSUserName (5) and WTSDomainName (7).
  System::Call 'wtsapi32::WTSQuerySessionInformationW(p 0, i -1, i 5, *p .r1, *i .r2) i .r0'
  ${If} $0 = 0
    Return
  ${EndIf}
  System::Call 'kernel32::lstrcpynW(w .r8, p r1, i ${NSIS_MAX_STRLEN})'
  System::Call 'wtsapi32::WTSFreeMemory(p r1)'
  System::Call 'wtsapi32::WTSQuerySessionInformationW(p 0, i -1, i 7, *p .r1, *i .r2) i .r0'
  ${If} $0 = 0
    Return
  ${EndIf}
  System::Call 'kernel32::lstrcpynW(w .r9, p r1, i ${NSIS_MAX_STRLEN})'
  System::Call 'wtsapi32::WTSFreeMemory(p r1)'
  ${If} $8 == ""
    Return
  ${EndIf}
  ; Account names compare without regard to case.
  ${If} $5 != $8
  ${OrIf} $6 != $9
    StrCpy $OtherAccount "$6\$5"
  ${EndIf}
FunctionEnd

Function .onInit
  StrCpy $FinishNote ""
  Call FindOtherAccount
  ${If} $OtherAccount != ""
    ; The screen-saver settings are the account's own: the ones of the administrator who typed the
    ; password would change, not the user's. Left to the administrator to tick for themselves.
    SectionSetText ${SectionCurrent} "Make Morvane the current screen saver of $OtherAccount"
    SectionSetFlags ${SectionCurrent} 0
    StrCpy $FinishNote "$\r$\n$\r$\nThe installer ran as $OtherAccount, so your screen saver is \
      unchanged. To choose Morvane: right-click the desktop, choose Personalize, then Lock screen \
      and Screen saver settings (or run control desk.cpl,,@screensaver), pick Morvane screen saver \
      and click OK."
  ${EndIf}
FunctionEnd

Function .onInstSuccess
  ${If} ${RebootFlag}
    SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; A running morvane.scr goes at the next restart, as does one still waiting to replace it.
  Delete /REBOOTOK "$SYSDIR\morvane.scr"
  Delete /REBOOTOK "$SYSDIR\morvane.scr.new"
  ; The settings come back only while Morvane is still the current saver: a saver the user chose
  ; since then stays, with its own settings. Without a previous saver the setting goes, rather than
  ; name a removed file.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "$SYSDIR\morvane.scr"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    !insertmacro RestoreDesktop "SCRNSAVE.EXE" "HasPrevious" "PreviousScreenSaver"
    !insertmacro RestoreDesktop "ScreenSaveActive" "HasPreviousActive" "PreviousScreenSaveActive"
    !insertmacro RestoreDesktop "ScreenSaveTimeOut" "HasPreviousTimeOut" "PreviousScreenSaveTimeOut"
    ; The running session learns the values back without the system writing them again.
    !insertmacro DesktopNumber "ScreenSaveActive"
    Pop $0
    ${If} $0 <> 0
      StrCpy $0 1
    ${EndIf}
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i r0, p 0, \
      i ${SPIF_SENDCHANGE})'
    !insertmacro DesktopNumber "ScreenSaveTimeOut"
    Pop $0
    ${If} $0 > 0
      System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVETIMEOUT}, i r0, p 0, \
      i ${SPIF_SENDCHANGE})'
    ${EndIf}
  ${EndIf}
  DeleteRegKey HKCU "${INSTALLER_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Morvane"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete /REBOOTOK "$INSTDIR\uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
  ${If} ${RebootFlag}
    SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
  ${EndIf}
SectionEnd
