; The setup program of Tarnwick: a per-user install that needs no
; administrator rights, into %LOCALAPPDATA%\Programs\Tarnwick, where the
; program may write its log. CMake runs makensis with:
;   VERSION       the product version ("2.1")
;   FILE_VERSION  the four numbers of the version record ("2.1.0.0")
;   PROGRAM_DIR   the folder of Gravelin.exe and deda.twk
;   ICON          the program's icon
;   WIZARD        the picture of the welcome and finish pages (164 x 314)
;   OUTFILE       the setup program to write
; /S installs silently; the uninstaller takes /S as well.
; Setup is a 32-bit program, so on 64-bit Windows it sees the machine's
; software keys as the 32-bit Gravelin.exe does (below Wow6432Node).

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwick"
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
; The program's main window holds the result list; the tray menu's Exit
; saves the squash log and ends the program.
!define RESULT_LIST 1020
!define EXIT_COMMAND 32775

Name "Tarnwick"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tarnwick"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tarnwick ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "Welcome to Tarnwick ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "Setup will install Tarnwick, the pop-up and spyware protection, for you on this computer. No administrator rights are needed.$\r$\n$\r$\nIf Tarnwick is running, Setup ends it first. Your squash log is kept.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "Tarnwick is installed"
!define MUI_FINISHPAGE_TEXT "Tarnwick is in your Start menu. It keeps running near the clock when its window is closed."
!define MUI_FINISHPAGE_RUN "$INSTDIR\Gravelin.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Tarnwick"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${FILE_VERSION}"
VIAddVersionKey "ProductName" "Tarnwick"
VIAddVersionKey "CompanyName" "Ostrand"
VIAddVersionKey "FileDescription" "Tarnwick Setup"
VIAddVersionKey "FileVersion" "${FILE_VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2004 Ostrand"

; Ends every running Tarnwick before its files are replaced or removed: each
; main window gets Exit, and its process a few seconds to end. When a program
; is still there after about 15 s (a hung one, or one whose file stays in
; use), the user is asked to end it; a silent run, or Cancel, gives up with
; status 2.
!macro END_RUNNING_PROGRAM un
Function ${un}EndRunningProgram
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
again:
  ; $4 counts half seconds of waiting, a window's Exit as 10 of them.
  StrCpy $4 0
retry:
  IntOp $4 $4 + 1
  ${If} $4 > 30
    Goto ask
  ${EndIf}
  StrCpy $0 0
next_window:
  FindWindow $0 "#32770" "Tarnwick" "" $0
  ${If} $0 <> 0
    GetDlgItem $1 $0 ${RESULT_LIST}
    ${If} $1 = 0
      Goto next_window
    ${EndIf}
    ; SYNCHRONIZE (0x00100000) is enough to wait for the process.
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r2)"
    System::Call "kernel32::OpenProcess(i 0x00100000, i 0, i r2) p .r3"
    IntOp $4 $4 + 9
    SendMessage $0 ${WM_COMMAND} ${EXIT_COMMAND} 0 /TIMEOUT=5000
    ${If} $3 P<> 0
      System::Call "kernel32::WaitForSingleObject(p r3, i 5000)"
      System::Call "kernel32::CloseHandle(p r3)"
    ${EndIf}
    Goto retry
  ${EndIf}
  ; A program still showing its splash has no main window yet, but its file
  ; is in use.
  ${If} ${FileExists} "$INSTDIR\Gravelin.exe"
    ClearErrors
    FileOpen $1 "$INSTDIR\Gravelin.exe" a
    ${If} ${Errors}
      Sleep 500
      Goto retry
    ${EndIf}
    FileClose $1
  ${EndIf}
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
  Return
ask:
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
    "Tarnwick is running. Please end it (right-click its icon near the clock and choose Exit), then click Retry." \
    /SD IDCANCEL IDRETRY again
  SetErrorLevel 2
  Quit
FunctionEnd
!macroend
!insertmacro END_RUNNING_PROGRAM ""
!insertmacro END_RUNNING_PROGRAM "un."

Section "Tarnwick"
  SetOutPath "$INSTDIR"
  Call EndRunningProgram
  ; The squash log "hist.twk" is the user's: never shipped, never replaced.
  File "${PROGRAM_DIR}/Gravelin.exe"
  File "${PROGRAM_DIR}/deda.twk"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The shortcut starts the program in its own folder ($OUTDIR), where it
  ; finds its definitions and keeps its log.
  CreateShortcut "$SMPROGRAMS\Tarnwick.lnk" "$INSTDIR\Gravelin.exe" "" "$INSTDIR\Gravelin.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tarnwick"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Ostrand"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Gravelin.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; In kilobytes.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Call un.EndRunningProgram
  ; "Load at Startup" names the program in the machine-wide Run key. The
  ; value goes when it names this copy and the user may change that key;
  ; otherwise it stays, and nothing is said.
  ReadRegStr $0 HKLM "${RUN_KEY}" "Gravelin"
  ${If} $0 == "$INSTDIR\Gravelin.exe"
  ${OrIf} $0 == '"$INSTDIR\Gravelin.exe"'
    DeleteRegValue HKLM "${RUN_KEY}" "Gravelin"
  ${EndIf}
  ClearErrors

  Delete "$INSTDIR\Gravelin.exe"
  Delete "$INSTDIR\deda.twk"
  ; The squash log, and the copy the program writes before it replaces it.
  Delete "$INSTDIR\hist.twk"
  Delete "$INSTDIR\hist.twk.new"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: files the user put there stay.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tarnwick.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
