; The Windows installer of Kadrilo and its uninstaller (NSIS 3, 64-bit, Unicode).
; scripts/package builds it:
;   makensis -INPUTCHARSET UTF8 -DVERSION=2.1.0 -DFILES=<folder> -DICON=<.ico> -DOUTFILE=<.exe> kadrilo.nsi
; FILES holds kadrilio.exe and LICENSE.txt.
;
; The installer's command line:
;   /S              silent
;   /CURRENTUSER    install for the current user even when run as administrator
;   /D=<folder>     the install folder (last on the line, without quotes)
; It installs for the current user into %LOCALAPPDATA%\Programs\Kadrilo, or for all
; users into Program Files when it runs elevated. A running Kadrilo is asked to
; quit first, the way Windows asks at the end of a session (it saves its settings
; and asks nothing); a silent install starts it again afterwards.
;
; The uninstaller's command line:
;   /S                  silent: the settings are kept
;   /REMOVESETTINGS     remove the settings too, without asking
; Without either, the program's own removal dialogue asks about the settings
; (only when there are settings to remove). The settings are the key
; HKCU\Software\Kadrilo and the autostart values named Kadrilo under the Run keys.
; An autostart value that would start the removed program is removed in any case.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
ManifestSupportedOS all

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define PRODUCT "Kadrilo"
!define PUBLISHER "The Kadrilo authors"
!define PROGRAM "kadrilio.exe"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "Kadrilo.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kadrilo"
!define SETTINGS_KEY "Software\Kadrilo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Kadrilo"

; How the running program is found: its application window carries this marker.
!define APPLICATION_CLASS "TKadriloApplication"
!define MAIN_CLASS "TAppMainForm"
!define LAST_CLASS "TAllocationForm"   ; the last window the program makes at start-up
!define INSTANCE_MARKER 736218
!define QUIT_WAIT_MS 15000

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"

Var AllUsers          ; 1: for all users (Program Files, HKLM, the common Start menu)
Var RestartProgram    ; 1: a running Kadrilo was ended and is started again after a silent install

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_UNPAGE_FINISH

; Without a language dialogue the installer speaks the user's interface language
; if it is one of these, and English otherwise.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (c) the Kadrilo authors"

LangString StillRunning ${LANG_ENGLISH} "Kadrilo is still running, so its files cannot be replaced or removed.$\r$\nQuit it from the menu of its tray icon, then choose Retry."
LangString StillRunning ${LANG_RUSSIAN} "Kadrilo всё ещё работает, поэтому его файлы нельзя заменить или удалить.$\r$\nЗавершите программу через меню её значка в трее и нажмите «Повтор»."
LangString NotWritten ${LANG_ENGLISH} "Setup is not complete: a file could not be written to $INSTDIR."
LangString NotWritten ${LANG_RUSSIAN} "Установка не завершена: не удалось записать файл в $INSTDIR."
LangString NotRemoved ${LANG_ENGLISH} "Kadrilo could not be removed: $INSTDIR\${PROGRAM} is in use."
LangString NotRemoved ${LANG_RUSSIAN} "Не удалось удалить Kadrilo: файл $INSTDIR\${PROGRAM} используется."
LangString NeedsAdministrator ${LANG_ENGLISH} "Kadrilo is installed for all users. Run the uninstaller as an administrator."
LangString NeedsAdministrator ${LANG_RUSSIAN} "Kadrilo установлен для всех пользователей. Запустите удаление от имени администратора."
LangString Ending ${LANG_ENGLISH} "Asking the running Kadrilo to quit..."
LangString Ending ${LANG_RUSSIAN} "Завершение работающей программы Kadrilo..."

; ---------------------------------------------------------------- shared by both

; $0 := 1 when this process runs elevated (TokenElevation), else 0.
!macro DEFINE_IS_ELEVATED un
Function ${un}IsElevated
  StrCpy $0 0
  System::Call 'kernel32::GetCurrentProcess() p .r1'
  System::Call 'advapi32::OpenProcessToken(p r1, i 0x8, *p .r2) i .r3'   ; TOKEN_QUERY
  ${If} $3 <> 0
    System::Call 'advapi32::GetTokenInformation(p r2, i 20, *i .r4, i 4, *i .r5) i .r3'   ; TokenElevation
    ${If} $3 <> 0
    ${AndIf} $4 <> 0
      StrCpy $0 1
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r2)'
  ${EndIf}
FunctionEnd
!macroend
!insertmacro DEFINE_IS_ELEVATED ""
!insertmacro DEFINE_IS_ELEVATED "un."

; $R2 := the main window of the running Kadrilo, or 0. The instance is the
; application window that carries the instance marker; its main window is the
; one of the main class that it owns.
!macro DEFINE_FIND_RUNNING un
Function ${un}FindRunningKadrilo
  StrCpy $R0 0
  StrCpy $R2 0
  ${Do}
    System::Call 'user32::FindWindowExW(p 0, p R0, w "${APPLICATION_CLASS}", p 0) p .R0'
    ${IfThen} $R0 P= 0 ${|} ${ExitDo} ${|}
    System::Call 'user32::GetPropW(p R0, w "UID") p .R1'
    ${If} $R1 P= ${INSTANCE_MARKER}
      StrCpy $R2 0
      ${Do}
        System::Call 'user32::FindWindowExW(p 0, p R2, w "${MAIN_CLASS}", p 0) p .R2'
        ${IfThen} $R2 P= 0 ${|} ${ExitDo} ${|}
        System::Call 'user32::GetWindow(p R2, i 4) p .R1'   ; GW_OWNER
        ${IfThen} $R1 P= $R0 ${|} ${ExitDo} ${|}
      ${Loop}
      ${IfThen} $R2 P<> 0 ${|} ${ExitDo} ${|}
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_FIND_RUNNING ""
!insertmacro DEFINE_FIND_RUNNING "un."

; Asks the running Kadrilo to quit and waits for its process to end. Closing its
; window would only hide it: the end of the Windows session is what makes it
; quit at once, saving its settings and asking nothing. A Kadrilo that does not
; end leaves the choice between Retry and Cancel (silently: Cancel), and Cancel
; aborts with a failure: its files could not be replaced anyway.
; $RestartProgram := 1 when one was ended.
!macro DEFINE_END_RUNNING un
Function ${un}EndRunningKadrilo
  ${Do}
    Call ${un}FindRunningKadrilo
    ${IfThen} $R2 P= 0 ${|} ${ExitDo} ${|}
    DetailPrint "$(Ending)"
    System::Call 'user32::GetWindowThreadProcessId(p R2, *i .R3) i'
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i R3) p .R4'   ; SYNCHRONIZE
    ; WM_QUERYENDSESSION, then WM_ENDSESSION, with ENDSESSION_CLOSEAPP; SMTO_ABORTIFHUNG
    System::Call 'user32::SendMessageTimeoutW(p R2, i 0x11, p 0, p 1, i 2, i 5000, *p .R5) p'
    System::Call 'user32::SendMessageTimeoutW(p R2, i 0x16, p 1, p 1, i 2, i 5000, *p .R5) p'
    StrCpy $R6 1
    ${If} $R4 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p R4, i ${QUIT_WAIT_MS}) i .R6'
      System::Call 'kernel32::CloseHandle(p R4)'
    ${EndIf}
    ${If} $R6 = 0
      StrCpy $RestartProgram 1
    ${Else}
      Call ${un}FindRunningKadrilo
      ${If} $R2 P<> 0
        MessageBox MB_RETRYCANCEL|MB_ICONSTOP "$(StillRunning)" /SD IDCANCEL IDRETRY retry
        DetailPrint "$(StillRunning)"
        SetErrorLevel 2
        Abort
        retry:
      ${Else}
        StrCpy $RestartProgram 1
      ${EndIf}
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_END_RUNNING ""
!insertmacro DEFINE_END_RUNNING "un."

; ---------------------------------------------------------------- the installer

Function .onInit
  StrCpy $RestartProgram 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/CURRENTUSER" $R1
  ${If} ${Errors}
    Call IsElevated
    StrCpy $AllUsers $0
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}
  ${If} $AllUsers = 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ; /D= has set the folder already; otherwise the place of an earlier
  ; installation, or the usual place.
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${EndIf}
  ${If} $INSTDIR == ""
    ${If} $AllUsers = 1
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${Else}
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${EndIf}
  ${EndIf}
FunctionEnd

Function NotWritten
  MessageBox MB_OK|MB_ICONSTOP "$(NotWritten)" /SD IDOK
  DetailPrint "$(NotWritten)"
  SetErrorLevel 2
  Abort
FunctionEnd

Section "Kadrilo" SectionProgram
  SetOutPath "$INSTDIR"
  Call EndRunningKadrilo

  ; A file that cannot be written (the user chose Ignore, or a silent install)
  ; fails the installation instead of leaving the old file in place.
  ClearErrors
  File "${FILES}\${PROGRAM}"
  ${IfThen} ${Errors} ${|} Call NotWritten ${|}
  File "${FILES}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  ${IfThen} ${Errors} ${|} Call NotWritten ${|}

  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\${PROGRAM}"

  SectionGetSize ${SectionProgram} $0
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${IfThen} ${Errors} ${|} Call NotWritten ${|}
SectionEnd

; The finish page offers to start the program; a silent install starts it only
; when it ended a running one.
Function .onInstSuccess
  ${If} ${Silent}
  ${AndIf} $RestartProgram = 1
    Exec '"$INSTDIR\${PROGRAM}"'
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------- the uninstaller

Function un.onInit
  ; Installed for all users when the machine's entry names this folder.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $0 == $INSTDIR
    StrCpy $AllUsers 1
    SetShellVarContext all
    Call un.IsElevated
    ${If} $0 = 0
      MessageBox MB_OK|MB_ICONSTOP "$(NeedsAdministrator)" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${Else}
    StrCpy $AllUsers 0
    SetShellVarContext current
  ${EndIf}
FunctionEnd

; $0 := 1 when the settings key exists (the program's removal dialogue asks only then).
Function un.SettingsExist
  StrCpy $0 0
  System::Call 'advapi32::RegOpenKeyExW(p 0x80000001, w "${SETTINGS_KEY}", i 0, i 0x20019, *p .r1) i .r2'   ; HKCU, KEY_READ
  ${If} $2 = 0
    StrCpy $0 1
    System::Call 'advapi32::RegCloseKey(p r1)'
  ${EndIf}
FunctionEnd

; What the program's own removal deletes: the settings key and both autostart values.
Function un.RemoveSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"   ; fails harmlessly without the right to
FunctionEnd

; Runs "kadrilio.exe /uninstall" and waits until its removal dialogue is over.
; The dialogue may end with the program going on to start (declining the
; removal, or choosing to go on after it): then its last start-up window
; appears, and the program is stopped at once. It holds nothing of the user's
; yet, and quitting would write the settings back: the removed ones with their
; defaults, and the autostart entries with this copy's path.
Function un.RemovalDialogue
  System::Alloc 104   ; STARTUPINFOW
  Pop $R7
  System::Call '*$R7(i 104)'
  System::Alloc 24    ; PROCESS_INFORMATION
  Pop $R8
  StrCpy $1 '"$INSTDIR\${PROGRAM}" /uninstall'
  System::Call 'kernel32::CreateProcessW(p 0, w r1, p 0, p 0, i 0, i 0, p 0, p 0, p R7, p R8) i .r0'
  ${If} $0 <> 0
    System::Call '*$R8(p .R9, p .r2, i .r9)'   ; the process, its thread, its id
    System::Call 'kernel32::CloseHandle(p r2)'
    ${Do}
      System::Call 'kernel32::WaitForSingleObject(p R9, i 100) i .r0'
      ${IfThen} $0 = 0 ${|} ${ExitDo} ${|}
      ; Has the program gone on starting? Look for its last window.
      StrCpy $R0 0
      ${Do}
        System::Call 'user32::FindWindowExW(p 0, p R0, w "${LAST_CLASS}", p 0) p .R0'
        ${IfThen} $R0 P= 0 ${|} ${ExitDo} ${|}
        System::Call 'user32::GetWindowThreadProcessId(p R0, *i .r1) i'
        ${IfThen} $1 = $9 ${|} ${ExitDo} ${|}
      ${Loop}
      ${If} $R0 P<> 0
        System::Call 'kernel32::TerminateProcess(p R9, i 0)'
        System::Call 'kernel32::WaitForSingleObject(p R9, i ${QUIT_WAIT_MS}) i'
        ${ExitDo}
      ${EndIf}
    ${Loop}
    System::Call 'kernel32::CloseHandle(p R9)'
  ${EndIf}
  System::Free $R7
  System::Free $R8
FunctionEnd

; An autostart value of either Run key that would start the program being removed.
!macro REMOVE_OWN_AUTOSTART ROOT
  ReadRegStr $0 ${ROOT} "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == "$INSTDIR\${PROGRAM}"
  ${OrIf} $0 == '"$INSTDIR\${PROGRAM}"'
    DeleteRegValue ${ROOT} "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
!macroend

Section "Uninstall"
  Call un.EndRunningKadrilo

  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVESETTINGS" $R1
  ${If} ${Errors}
    ${IfNot} ${Silent}
      Call un.SettingsExist
      ${IfThen} $0 = 1 ${|} Call un.RemovalDialogue ${|}
    ${EndIf}
  ${Else}
    Call un.RemoveSettings
  ${EndIf}
  !insertmacro REMOVE_OWN_AUTOSTART HKCU
  !insertmacro REMOVE_OWN_AUTOSTART HKLM

  ; Only what the installer put there; the folder goes only if it is empty then.
  ClearErrors
  Delete "$INSTDIR\${PROGRAM}"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "$(NotRemoved)" /SD IDOK
    DetailPrint "$(NotRemoved)"
    SetErrorLevel 2
    Abort
  ${EndIf}
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$SMPROGRAMS\${SHORTCUT}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
SectionEnd
