; Dayvane's installer: per user, no administrator rights.
; scripts/package.sh compiles it twice:
;   makensis -DUNINSTALLER_PASS -DUNINSTALLER=<Uninstall.exe to write> ...  the uninstaller, with
;            its own version record, signed through !uninstfinalize (the installer of this pass
;            is thrown away)
;   makensis -DUNINSTALLER=<that Uninstall.exe> ...                         the installer, which
;            carries the uninstaller as a file, so that "Space required" counts it too
; Both take -DEXE= -DREADME= -DLICENSE= -DICON= -DSIDE=<164x314 BMP> -DMAKER=<maker.nsh>
; -DOUTFILE=, and -DSIGN=<command> to sign what they write.
;
; Setup reuses the folder of an installation that is there, ends only a
; Dayvane started from that folder and starts it again afterwards. The
; uninstaller takes away what the installer put in place and what Dayvane
; itself wrote, as far as it belongs to this installation: the Start-menu
; shortcut, the "Apps & features" entry, the Run value and the desktop
; shortcut only when they are this folder's (or, for the Run value, name a
; program that is gone), so that another copy keeps working; the settings go
; with the Run value.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"
!include "FileFunc.nsh"
!include "${MAKER}"  ; MAKER_WEB_SITE, MAKER_CONTACT_EMAIL

!define PRODUCT "Dayvane"
!define VERSION "1.00"
!define PUBLISHER "Dayvane Software"
!define MAIN_CLASS "Dayvane.frmmain"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dayvane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Dayvane"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An update goes where the installation is; /D= still wins.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "1.0.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"
!ifdef UNINSTALLER_PASS
  !define PREFIX "un."
  VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} uninstaller"
  VIAddVersionKey /LANG=1033 "OriginalFilename" "Uninstall.exe"
  !ifdef SIGN
    !uninstfinalize '${SIGN} "%1"' = 0
  !endif
  !uninstfinalize 'cp "%1" "${UNINSTALLER}"' = 0
!else
  !define PREFIX ""
  VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
  !ifdef SIGN
    !finalize '${SIGN} "%1"' = 0
  !endif
!endif

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "Dayvane ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "Dayvane is a small desktop calendar: this month, the next one and a clock, in a \
  narrow window in the corner of your screen.$\r$\n$\r$\nIt is installed for you alone, needs no administrator \
  rights and changes nothing in Windows itself. If Dayvane is installed already, Setup updates it in its \
  folder, and a Dayvane that was running starts again afterwards.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_HEADER_TEXT "Licence"
!define MUI_PAGE_HEADER_SUBTEXT "Dayvane is free software under the MIT licence."
!define MUI_LICENSEPAGE_TEXT_TOP "For your information; there is nothing to accept."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Click Next to continue."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "Dayvane is ready"
; Three lines at most: the "Start Dayvane" box comes below.
!define MUI_FINISHPAGE_TEXT "Dayvane is in your Start menu. To start it with Windows as well, choose \
  Option > Add to start up in Dayvane."
; Not shown by a silent install, so /S starts only a Dayvane that was running.
!define MUI_FINISHPAGE_RUN "$INSTDIR\Dayvane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Dayvane"
!insertmacro MUI_PAGE_FINISH
!ifdef UNINSTALLER_PASS
  !insertmacro MUI_UNPAGE_CONFIRM
  !insertmacro MUI_UNPAGE_INSTFILES
!endif
!insertmacro MUI_LANGUAGE "English"

; --- shared by the installer and the uninstaller (each pass has one) --------

; in: a path; out: its long form, or the path itself when it does not exist.
Function ${PREFIX}LongPath
  Exch $0
  Push $1
  Push $2
  System::Call "kernel32::GetLongPathNameW(w r0, w .r1, i ${NSIS_MAX_STRLEN}) i .r2"
  ${If} $2 > 0
  ${AndIf} $2 < ${NSIS_MAX_STRLEN}
    StrCpy $0 $1
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; in: two paths; out: 1 when they name the same file or folder.
Function ${PREFIX}SamePath
  Exch $0
  Exch
  Exch $1
  Push $0
  Call ${PREFIX}LongPath
  Pop $0
  Push $1
  Call ${PREFIX}LongPath
  Pop $1
  ${If} $0 == $1  ; StrCmp ignores case, as Windows paths do
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $1
  Exch $0
FunctionEnd

; in: a folder; out: 1 when a Dayvane started from that folder was running.
; Closes it the way its close box does (which ends it) and waits for its
; process to end: its files cannot be replaced or removed while it runs. A
; Dayvane started from anywhere else is left alone.
Function ${PREFIX}CloseDayvaneIn
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  StrCpy $5 0  ; found one
  StrCpy $1 0  ; the window after which to look
  ${Do}
    FindWindow $1 "${MAIN_CLASS}" "" 0 $1
    ${If} $1 = 0
      ${Break}
    ${EndIf}
    System::Call "user32::GetWindowThreadProcessId(p r1, *i .r2)"
    ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
    System::Call "kernel32::OpenProcess(i 0x101000, i 0, i r2) p .r2"
    ${If} $2 P<> 0
      System::Call "kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN}) i .r4"
      ${If} $4 <> 0
        Push $3
        Push "$0\Dayvane.exe"
        Call ${PREFIX}SamePath
        Pop $4
        ${If} $4 = 1
          StrCpy $5 1
          retry:
          SendMessage $1 ${WM_CLOSE} 0 0 /TIMEOUT=5000
          System::Call "kernel32::WaitForSingleObject(p r2, i 15000) i .r4"
          ${If} $4 <> 0
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
              "Dayvane is still running and could not be closed.$\r$\nClose it, then choose Retry." \
              /SD IDCANCEL IDRETRY retry
            System::Call "kernel32::CloseHandle(p r2)"
            SetErrorLevel 2
            Quit
          ${EndIf}
          StrCpy $1 0  ; the list of windows has changed
        ${EndIf}
      ${EndIf}
      System::Call "kernel32::CloseHandle(p r2)"
    ${EndIf}
  ${Loop}
  StrCpy $0 $5
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

!ifndef UNINSTALLER_PASS
; --- installer ---------------------------------------------------------------

Var Running
Var Previous  ; the folder of the installation that was there, if any

Function .onInit
  ReadRegStr $Previous HKCU "${UNINSTALL_KEY}" "InstallLocation"
FunctionEnd

Section "Dayvane"
  SetShellVarContext current
  Push "$INSTDIR"
  Call CloseDayvaneIn
  Pop $Running
  StrCpy $R0 0  ; moving from another folder
  ${If} $Previous != ""
    Push $Previous
    Push $INSTDIR
    Call SamePath
    Pop $R0
    IntOp $R0 $R0 !
  ${EndIf}
  ${If} $R0 = 1
    Push $Previous
    Call CloseDayvaneIn
    Pop $0
    IntOp $Running $Running | $0
  ${EndIf}

  SetOutPath "$INSTDIR"
  ; The program may take a moment to let go of its file after its process.
  SetOverwrite try
  StrCpy $0 0
  ${Do}
    ClearErrors
    File "/oname=Dayvane.exe" "${EXE}"
    ${IfNot} ${Errors}
      ${Break}
    ${EndIf}
    IntOp $0 $0 + 1
    ${If} $0 > 30
      MessageBox MB_OK|MB_ICONSTOP "Dayvane.exe in $INSTDIR could not be replaced." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
    Sleep 200
  ${Loop}
  SetOverwrite on
  File "/oname=README.txt" "${README}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  File "/oname=Uninstall.exe" "${UNINSTALLER}"

  ; Installed elsewhere before (the folder page was changed): the old
  ; copy's files go, anything the user put there stays.
  ${If} $R0 = 1
    Delete "$Previous\Dayvane.exe"
    Delete "$Previous\README.txt"
    Delete "$Previous\LICENSE.txt"
    Delete "$Previous\Uninstall.exe"
    RMDir "$Previous"
  ${EndIf}

  CreateShortcut "$SMPROGRAMS\Dayvane.lnk" "$INSTDIR\Dayvane.exe" "" "$INSTDIR\Dayvane.exe" 0 \
    SW_SHOWNORMAL "" "Dayvane desktop calendar"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\Dayvane.exe$\",0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\Uninstall.exe$\""
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\Uninstall.exe$\" /S"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${MAKER_WEB_SITE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "HelpLink" "mailto:${MAKER_CONTACT_EMAIL}"
  ${GetTime} "" "L" $0 $1 $2 $3 $4 $5 $6
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallDate" "$2$1$0"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  ${If} $Running = 1
    Exec '"$INSTDIR\Dayvane.exe"'
  ${EndIf}
SectionEnd

!else
; --- uninstaller (the installer of this pass only writes it) ----------------

Section "Dayvane"
  WriteUninstaller "$TEMP\Uninstall.exe"
SectionEnd

; in: a path; out: 1 when it names this installation's Dayvane.exe.
Function un.IsOurProgram
  Push "$INSTDIR\Dayvane.exe"
  Call un.SamePath
FunctionEnd

; in: a command line; out: the program it starts. Dayvane writes the path
; in quotes; an unquoted one ends with ".exe".
Function un.ProgramOf
  Exch $0
  Push $1
  Push $2
  Push $3
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $2 1
    ${Do}
      StrCpy $1 $0 1 $2
      ${If} $1 == '"'
      ${OrIf} $1 == ""
        ${Break}
      ${EndIf}
      IntOp $2 $2 + 1
    ${Loop}
    IntOp $2 $2 - 1
    StrCpy $0 $0 $2 1
  ${Else}
    StrCpy $2 0
    StrCpy $3 ""
    ${Do}
      StrCpy $1 $0 4 $2
      ${If} $1 == ""
        ${Break}
      ${EndIf}
      ${If} $1 == ".exe"  ; StrCmp ignores case
        IntOp $2 $2 + 4
        StrCpy $3 $0 $2
        ${Break}
      ${EndIf}
      IntOp $2 $2 + 1
    ${Loop}
    StrCpy $0 $3
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; in: a shell link; out: the program it starts, or "" when it cannot be read.
; Read through IShellLinkW, as the shell does.
Function un.LinkTarget
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $9
  StrCpy $3 ""
  System::Call "ole32::CoCreateInstance(g '{00021401-0000-0000-C000-000000000046}', p 0, i 1, \
    g '{000214F9-0000-0000-C000-000000000046}', *p .r1) i .r9"
  ${If} $9 = 0
    ; IUnknown::QueryInterface(IID_IPersistFile)
    System::Call "$1->0(g '{0000010b-0000-0000-C000-000000000046}', *p .r2) i .r9"
    ${If} $9 = 0
      System::Call "$2->5(w r0, i 0) i .r9"  ; IPersistFile::Load, read only
      ${If} $9 = 0
        System::Call "$1->3(w .r3, i ${NSIS_MAX_STRLEN}, p 0, i 0) i .r9"  ; IShellLinkW::GetPath
        ${If} $9 <> 0
          StrCpy $3 ""
        ${EndIf}
      ${EndIf}
      System::Call "$2->2()"  ; Release
    ${EndIf}
    System::Call "$1->2()"
  ${EndIf}
  StrCpy $0 $3
  Pop $9
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; in: a shell link; deletes it when it starts this installation's Dayvane.exe.
Function un.DeleteOurLink
  Exch $0
  Push $1
  ${If} ${FileExists} $0
    Push $0
    Call un.LinkTarget
    Call un.IsOurProgram
    Pop $1
    ${If} $1 = 1
      Delete $0
    ${EndIf}
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Push "$INSTDIR"
  Call un.CloseDayvaneIn
  Pop $0

  ; Start with Windows: left behind, Windows would try to start a missing
  ; program at every log-on. A Run value of another copy stays, and with it
  ; the settings that describe it.
  StrCpy $5 1  ; remove the settings
  ClearErrors
  ReadRegStr $0 HKCU "${RUN_KEY}" "Dayvane"
  ${IfNot} ${Errors}
    Push $0
    Call un.ProgramOf
    Pop $1
    Push $1
    Call un.IsOurProgram
    Pop $2
    ${If} $2 = 1
    ${OrIfNot} ${FileExists} $1
      DeleteRegValue HKCU "${RUN_KEY}" "Dayvane"
    ${Else}
      StrCpy $5 0
    ${EndIf}
  ${EndIf}
  ${If} $5 = 1
    DeleteRegKey HKCU "${SETTINGS_KEY}"
  ${EndIf}

  ; The desktop shortcut that Dayvane made and the Start-menu one of Setup,
  ; while they start this one (read before its program goes).
  Push "$DESKTOP\Dayvane.lnk"
  Call un.DeleteOurLink
  Push "$SMPROGRAMS\Dayvane.lnk"
  Call un.DeleteOurLink

  ; A program that has just closed may hold its file for a moment.
  StrCpy $0 0
  ${Do}
    Delete "$INSTDIR\Dayvane.exe"
    ${IfNot} ${FileExists} "$INSTDIR\Dayvane.exe"
    ${OrIf} $0 > 30
      ${Break}
    ${EndIf}
    IntOp $0 $0 + 1
    Sleep 200
  ${Loop}
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: anything the user put there stays.
  RMDir "$INSTDIR"

  ; The entry, unless it now describes an installation in another folder.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  Push $0
  Push $INSTDIR
  Call un.SamePath
  Pop $1
  ${If} $1 = 1
  ${OrIf} $0 == ""
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
SectionEnd
!endif
