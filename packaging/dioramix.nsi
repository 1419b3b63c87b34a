; The per-user installer: no administrator prompt, Korean pages for a Korean UI language and
; English ones for any other, an "Apps" entry under the current user. tools/package defines VERSION, VERSION_MAJOR, VERSION_MINOR, STAGE (the staged
; program files), ICON and OUTFILE.

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

LangString WelcomeText ${LANG_KOREAN} "Dioramix ${VERSION}을(를) 이 사용자의 프로그램 폴더에 설치합니다. 관리자 권한은 필요 없습니다.$\r$\n$\r$\n실행 중인 Dioramix는 설치하기 전에 끝나고 원래 바탕화면으로 돌아갑니다. 설정과 목록 파일(env.ini, list.txt, poslist.txt, xdaylist.txt)은 그대로 남습니다.$\r$\n$\r$\n계속하려면 '다음'을 누르세요."
LangString WelcomeText ${LANG_ENGLISH} "This installs Dioramix ${VERSION} into this user's programs folder. No administrator rights are needed.$\r$\n$\r$\nA running Dioramix is ended before the installation and gives your wallpaper back. The settings and lists (env.ini, list.txt, poslist.txt, xdaylist.txt) stay as they are.$\r$\n$\r$\nClick Next to continue."
LangString EndingRunningCopy ${LANG_KOREAN} "실행 중인 Dioramix를 끝냅니다..."
LangString EndingRunningCopy ${LANG_ENGLISH} "Ending the running Dioramix..."
LangString AutostartSection ${LANG_KOREAN} "Windows 시작 시 자동실행"
LangString AutostartSection ${LANG_ENGLISH} "Start with Windows"
LangString KeepSettingsQuestion ${LANG_KOREAN} "설정과 목록(env.ini, list.txt, poslist.txt, xdaylist.txt)을 남겨 둘까요?$\n$\n남겨 두면 다시 설치했을 때 그대로 이어서 쓸 수 있습니다."
LangString KeepSettingsQuestion ${LANG_ENGLISH} "Keep the settings and lists (env.ini, list.txt, poslist.txt, xdaylist.txt)?$\n$\nKept, they are used again when Dioramix is installed again."

; Ends a running copy the way "Dioramix.exe -exit" does and waits until that process is gone:
; it saves its files and gives the user's wallpaper back on the way out, and its files can be
; replaced or removed only after it. An older copy's "-exit" does not wait, so we wait here.
!macro DEFINE_END_RUNNING_COPY prefix
Function ${prefix}EndRunningCopy
  Push $0
  Push $1
  Push $2
  FindWindow $0 "#32770" "Dioramix"
  ${If} $0 = 0
    Goto done
  ${EndIf}
  DetailPrint "$(EndingRunningCopy)"
  System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
  System::Call "kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2"
  ${If} ${FileExists} "$INSTDIR\Dioramix.exe"
    ExecWait '"$INSTDIR\Dioramix.exe" -exit'
  ${Else}
    System::Call "user32::PostMessageW(p r0, i 0x0010, p 0, p 0)"
  ${EndIf}
  ${If} $2 P<> 0
    System::Call "kernel32::WaitForSingleObject(p r2, i 30000)"
    System::Call "kernel32::CloseHandle(p r2)"
  ${EndIf}
  ; The mutex goes with the process; a copy whose process could not be opened is waited for by it.
  StrCpy $1 0
  ${Do}
    System::Call "kernel32::OpenMutexW(i 0x00100000, i 0, w 'Dioramix') p .r2"
    ${If} $2 P= 0
      ${ExitDo}
    ${EndIf}
    System::Call "kernel32::CloseHandle(p r2)"
    Sleep 200
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= 150
  done:
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_END_RUNNING_COPY ""
!insertmacro DEFINE_END_RUNNING_COPY "un."

Section "Dioramix" SecProgram
  SectionIn RO
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

; The same value the settings' "Windows 시작 시 자동실행" writes: the program's path, unquoted.
Section /o "$(AutostartSection)" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "Dioramix" "$INSTDIR\Dioramix.exe"
SectionEnd

Section "-AutostartCleared"
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    ReadRegStr $0 HKCU "${RUN_KEY}" "Dioramix"
    ${If} $0 == "$INSTDIR\Dioramix.exe"
      DeleteRegValue HKCU "${RUN_KEY}" "Dioramix"
    ${EndIf}
  ${EndIf}
SectionEnd

; An upgrade keeps the start with Windows that the user chose, in the settings or here.
Function .onInit
  ReadRegStr $0 HKCU "${RUN_KEY}" "Dioramix"
  ${If} $0 != ""
    !insertmacro SelectSection ${SecAutostart}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.EndRunningCopy
  ReadRegStr $0 HKCU "${RUN_KEY}" "Dioramix"
  ${If} $0 == "$INSTDIR\Dioramix.exe"
    DeleteRegValue HKCU "${RUN_KEY}" "Dioramix"
  ${EndIf}
  Delete "$SMPROGRAMS\Dioramix.lnk"
  Delete "$INSTDIR\Dioramix.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\Dioramix.bmp"
  RMDir /r "$INSTDIR\effects"
  RMDir /r "$INSTDIR\Masks"
  Delete "$INSTDIR\uninstall.exe"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION "$(KeepSettingsQuestion)" /SD IDYES IDYES keep
    Delete "$INSTDIR\env.ini"
    Delete "$INSTDIR\list.txt"
    Delete "$INSTDIR\poslist.txt"
    Delete "$INSTDIR\xdaylist.txt"
    Delete "$INSTDIR\backimage.png"
    Delete "$INSTDIR\Dioramix-crash-*.dmp"
  keep:
  RMDir "$INSTDIR"
SectionEnd
