; The per-user installer: no administrator prompt, Korean pages for a Korean UI language and
; English ones for any other, an "Apps" entry under the current user. tools/package defines VERSION, VERSION_MAJOR, VERSION_MINOR, STAGE (the staged
; program files), SHIPPED_DATA (an include that deletes each shipped effect and mask), ICON and
; OUTFILE.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma
; Installed files carry the staged files' times, which tools/package fixes to the commit's.
SetDateSave on

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dioramix"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; Where the Task Manager keeps the user's choice for each Run entry.
!define STARTUP_APPROVED_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run"
!define PUBLISHER "The Dioramix project"

Name "Dioramix ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Dioramix"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Dioramix ${VERSION}"
ShowInstDetails show

VIProductVersion "${VERSION_MAJOR}.${VERSION_MINOR}.0.0"
VIFileVersion "${VERSION_MAJOR}.${VERSION_MINOR}.0.0"
VIAddVersionKey /LANG=1042 "ProductName" "Dioramix"
VIAddVersionKey /LANG=1042 "FileDescription" "Dioramix 설치 프로그램"
VIAddVersionKey /LANG=1042 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1042 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1042 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1042 "LegalCopyright" "(C) 2026 ${PUBLISHER}"
VIAddVersionKey /LANG=1033 "ProductName" "Dioramix"
VIAddVersionKey /LANG=1033 "FileDescription" "Dioramix setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "(C) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Dioramix.exe"
!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first language is the one for a UI language the installer does not have.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Korean"

LangString WelcomeText ${LANG_KOREAN} "Dioramix ${VERSION}을(를) 이 사용자의 프로그램 폴더에 설치합니다. 관리자 권한은 필요 없습니다.$\r$\n$\r$\n실행 중인 Dioramix는 설치하기 전에 끝나고 원래 바탕화면으로 돌아갑니다. 설정과 목록 파일(env.ini, list.txt, poslist.txt, xdaylist.txt, banlist.txt, keeplist.txt)은 그대로 남습니다.$\r$\n$\r$\n계속하려면 '다음'을 누르세요."
LangString WelcomeText ${LANG_ENGLISH} "This installs Dioramix ${VERSION} into this user's programs folder. No administrator rights are needed.$\r$\n$\r$\nA running Dioramix is ended before the installation and gives your wallpaper back. The settings and lists (env.ini, list.txt, poslist.txt, xdaylist.txt, banlist.txt, keeplist.txt) stay as they are.$\r$\n$\r$\nClick Next to continue."
LangString EndingRunningCopy ${LANG_KOREAN} "실행 중인 Dioramix를 끝냅니다..."
LangString EndingRunningCopy ${LANG_ENGLISH} "Ending the running Dioramix..."
LangString CannotEndRunningCopy ${LANG_KOREAN} "실행 중인 Dioramix를 끝낼 수 없습니다. Dioramix에 열려 있는 창을 닫거나 트레이 메뉴의 '종료'로 끝낸 다음 '다시 시도'를 누르세요."
LangString CannotEndRunningCopy ${LANG_ENGLISH} "The running Dioramix cannot be ended. Close the window it has open, or end it with Exit in its tray menu, then click Retry."
LangString AutostartSection ${LANG_KOREAN} "Windows 시작 시 자동실행"
LangString AutostartSection ${LANG_ENGLISH} "Start with Windows"
LangString KeepSettingsQuestion ${LANG_KOREAN} "설정과 목록(env.ini, list.txt, poslist.txt, xdaylist.txt, banlist.txt, keeplist.txt)을 남겨 둘까요?$\n$\n남겨 두면 다시 설치했을 때 그대로 이어서 쓸 수 있습니다."
LangString KeepSettingsQuestion ${LANG_ENGLISH} "Keep the settings and lists (env.ini, list.txt, poslist.txt, xdaylist.txt, banlist.txt, keeplist.txt)?$\n$\nKept, they are used again when Dioramix is installed again."

; Ends a running copy the way "Dioramix.exe -exit" does: the copy is found by the mark on its main
; window, not by a title a message box may share, and "-exit" waits until it has saved its files
; and given the user's wallpaper back. The single-instance mutex says whether it is gone; a copy
; that stays (a dialog of its own left open, an elevated copy) is reported with Retry/Cancel, and
; a silent run gives up. $WasRunning tells whether a copy ran when the setup started.
Var WasRunning

; $0 = 1 while a copy holds the mutex (one it may not open, an elevated copy's, counts too).
!macro DEFINE_COPY_RUNNING prefix
Function ${prefix}CopyRunning
  Push $1
  System::Call "kernel32::OpenMutexW(i 0x00100000, i 0, w 'Dioramix') p .r1 ?e"
  Pop $0
  ${If} $1 P<> 0
    System::Call "kernel32::CloseHandle(p r1)"
    StrCpy $0 1
  ${ElseIf} $0 = 5
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $1
FunctionEnd
!macroend
!insertmacro DEFINE_COPY_RUNNING ""
!insertmacro DEFINE_COPY_RUNNING "un."

; $0: the Dioramix.exe whose "-exit" ends the running copy.
!macro DEFINE_END_RUNNING_COPY prefix
Function ${prefix}EndRunningCopy
  Exch $0
  Push $1
  Push $2
  StrCpy $2 $0
  Call ${prefix}CopyRunning
  StrCpy $WasRunning $0
  ${If} $0 = 1
    DetailPrint "$(EndingRunningCopy)"
  ${EndIf}
  ${DoWhile} $0 = 1
    ExecWait '"$2" -exit'
    ; The mutex goes with the process, a moment after its window.
    StrCpy $1 0
    ${Do}
      Call ${prefix}CopyRunning
      ${If} $0 = 0
      ${OrIf} $1 >= 25
        ${ExitDo}
      ${EndIf}
      Sleep 200
      IntOp $1 $1 + 1
    ${Loop}
    ${If} $0 = 1
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(CannotEndRunningCopy)" /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Quit
      retry:
    ${EndIf}
  ${Loop}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_END_RUNNING_COPY ""
!insertmacro DEFINE_END_RUNNING_COPY "un."

; The start with Windows in either spelling of the program's path, and the Task Manager's record
; of it, removed; $0 is the path.
!macro DEFINE_REMOVE_AUTOSTART prefix
Function ${prefix}RemoveAutostart
  Exch $0
  Push $1
  ReadRegStr $1 HKCU "${RUN_KEY}" "Dioramix"
  ${If} $1 == "$0"
  ${OrIf} $1 == '"$0"'
    DeleteRegValue HKCU "${RUN_KEY}" "Dioramix"
    DeleteRegValue HKCU "${STARTUP_APPROVED_KEY}" "Dioramix"
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_REMOVE_AUTOSTART ""
!insertmacro DEFINE_REMOVE_AUTOSTART "un."

Section "Dioramix" SecProgram
  SectionIn RO
  ; The new program's own "-exit": an installed older copy may not know the mark.
  InitPluginsDir
  SetOutPath "$PLUGINSDIR"
  File "${STAGE}\Dioramix.exe"
  Push "$PLUGINSDIR\Dioramix.exe"
  Call EndRunningCopy
  ; Program files only: env.ini and the lists beside them stay as the user left them.
  SetOutPath "$INSTDIR"
  File "${STAGE}\Dioramix.exe"
  File "${STAGE}\README.txt"
  SetOutPath "$INSTDIR\effects"
  File "${STAGE}\effects\*.*"
  SetOutPath "$INSTDIR\Masks"
  File "${STAGE}\Masks\*.*"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Dioramix.lnk" "$INSTDIR\Dioramix.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Dioramix"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Dioramix.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "https://dioramix.example.org/"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The same value the settings' "Windows 시작 시 자동실행" writes: the program's path, quoted.
; Ticking the box is the user's word: an entry disabled in the Task Manager is enabled again.
Section /o "$(AutostartSection)" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "Dioramix" '"$INSTDIR\Dioramix.exe"'
  DeleteRegValue HKCU "${STARTUP_APPROVED_KEY}" "Dioramix"
SectionEnd

Section "-AutostartCleared"
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    Push "$INSTDIR\Dioramix.exe"
    Call RemoveAutostart
  ${EndIf}
SectionEnd

; A silent upgrade starts the program again when it ran before, as the user it runs for: from an
; elevated setup through the shell, which starts it unelevated.
Section "-RestartAfterSilentUpgrade"
  ${If} ${Silent}
  ${AndIf} $WasRunning = 1
    System::Call "advapi32::OpenProcessToken(p -1, i 8, *p .r1) i .r0"
    StrCpy $2 0
    ${If} $0 <> 0
      System::Call "advapi32::GetTokenInformation(p r1, i 20, *i .r2, i 4, *i .r3)"
      System::Call "kernel32::CloseHandle(p r1)"
    ${EndIf}
    ${If} $2 <> 0
      Exec '"$WINDIR\explorer.exe" "$INSTDIR\Dioramix.exe"'
    ${Else}
      Exec '"$INSTDIR\Dioramix.exe"'
    ${EndIf}
  ${EndIf}
SectionEnd

; An upgrade keeps the start with Windows that the user chose, in the settings or here.
Function .onInit
  ReadRegStr $0 HKCU "${RUN_KEY}" "Dioramix"
  ${If} $0 != ""
    Call AutostartDisabled
    ${If} $0 = 0
      !insertmacro SelectSection ${SecAutostart}
    ${EndIf}
  ${EndIf}
FunctionEnd

; $0 = 1 when the Task Manager's record says the user disabled the start with Windows.
Function AutostartDisabled
  Push $1
  Push $2
  Push $3
  System::Alloc 64
  Pop $1
  ; HKEY_CURRENT_USER, sign-extended as a 64-bit handle; RRF_RT_REG_BINARY.
  System::Call "advapi32::RegGetValueW(p -2147483647, w '${STARTUP_APPROVED_KEY}', w 'Dioramix', i 0x8, p 0, p r1, *i 64) i .r2"
  StrCpy $0 0
  ${If} $2 = 0
    System::Call "*$1(&i1 .r3)"
    IntOp $0 $3 & 1
  ${EndIf}
  System::Free $1
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

Section "Uninstall"
  Push "$INSTDIR\Dioramix.exe"
  Call un.EndRunningCopy
  ; With no copy running, "-exit" gives back the wallpaper a crashed run still holds, from the
  ; files deleted below.
  ${If} $WasRunning = 0
    ExecWait '"$INSTDIR\Dioramix.exe" -exit'
  ${EndIf}
  Push "$INSTDIR\Dioramix.exe"
  Call un.RemoveAutostart
  Delete "$SMPROGRAMS\Dioramix.lnk"
  ; Only what the release shipped, and the program's own leftovers: a user's own masks and
  ; effects stay with the settings.
  Delete "$INSTDIR\Dioramix.exe"
  Delete "$INSTDIR\README.txt"
  !include "${SHIPPED_DATA}"
  Delete "$INSTDIR\Dioramix.bmp"
  Delete "$INSTDIR\Dioramix-*.bmp"
  Delete "$INSTDIR\oriwallsetup.txt"
  Delete "$INSTDIR\previous.bmp"
  Delete "$INSTDIR\previous-*.bmp"
  Delete "$INSTDIR\oriwallpaper.*"
  Delete "$INSTDIR\~dx*.tmp"
  Delete "$INSTDIR\uninstall.exe"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION "$(KeepSettingsQuestion)" /SD IDYES IDYES keep
    Delete "$INSTDIR\env.ini"
    Delete "$INSTDIR\list.txt"
    Delete "$INSTDIR\poslist.txt"
    Delete "$INSTDIR\xdaylist.txt"
    Delete "$INSTDIR\banlist.txt"
    Delete "$INSTDIR\keeplist.txt"
    Delete "$INSTDIR\env.ini.bak"
    Delete "$INSTDIR\list.txt.bak"
    Delete "$INSTDIR\poslist.txt.bak"
    Delete "$INSTDIR\xdaylist.txt.bak"
    Delete "$INSTDIR\Dioramix.log"
    Delete "$INSTDIR\Dioramix.old.log"
    Delete "$INSTDIR\backimage.png"
    Delete "$INSTDIR\Dioramix-crash-*.dmp"
    RMDir /r "$INSTDIR\effects"
    RMDir /r "$INSTDIR\Masks"
  keep:
  RMDir "$INSTDIR\effects"
  RMDir "$INSTDIR\Masks"
  RMDir "$INSTDIR"
  ; A file held open by another program goes at the next logon.
  ${If} ${FileExists} "$INSTDIR\Dioramix.exe"
    WriteRegStr HKCU "Software\Microsoft\Windows\CurrentVersion\RunOnce" "Dioramix-uninstall" '"$SYSDIR\cmd.exe" /c del /f /q "$INSTDIR\Dioramix.exe" & rd "$INSTDIR"'
  ${EndIf}
SectionEnd
