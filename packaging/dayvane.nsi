; Dayvane's installer: per user, no administrator rights.
;   makensis -DEXE=<Dayvane.exe> -DREADME=<README.txt> -DLICENSE=<LICENSE>
;            -DICON=<dayvane.ico> -DOUTFILE=<setup.exe> packaging/dayvane.nsi
; (scripts/package.sh passes them.)
;
; The uninstaller takes away what the installer put in place and what
; Dayvane itself wrote, as far as it belongs to this installation: the Run
; value and the desktop shortcut only when they start this installation's
; Dayvane.exe (or, for the Run value, a program that is gone), so that a
; portable copy elsewhere keeps working; the settings go with the Run value.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"
!include "FileFunc.nsh"

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
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "1.0.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; Not shown by a silent install, so /S never starts Dayvane.
!define MUI_FINISHPAGE_RUN "$INSTDIR\Dayvane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Dayvane"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; --- shared by the installer and the uninstaller ---------------------------

; Closes a running Dayvane the way its close box does (which ends it) and
; waits for it to go: its files cannot be replaced or removed while it runs.
!macro DEFINE_CLOSE_DAYVANE prefix
Function ${prefix}CloseDayvane
  Push $0
  Push $1
  retry:
  StrCpy $1 0
  ${Do}
    FindWindow $0 "${MAIN_CLASS}" ""
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    ${If} $1 = 0
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 > 100
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Dayvane is still running and could not be closed.$\r$\nClose it, then choose Retry." \
        /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Quit
    ${EndIf}
    Sleep 100
  ${Loop}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_DAYVANE ""
!insertmacro DEFINE_CLOSE_DAYVANE "un."

; --- installer ---------------------------------------------------------------

Section "Dayvane"
  SetShellVarContext current
  Call CloseDayvane
  SetOutPath "$INSTDIR"
  ; The program may take a moment to let go of its file after its window.
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
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\Dayvane.lnk" "$INSTDIR\Dayvane.exe" "" "$INSTDIR\Dayvane.exe" 0 \
    SW_SHOWNORMAL "" "Dayvane desktop calendar"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\Dayvane.exe$\",0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\Uninstall.exe$\""
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\Uninstall.exe$\" /S"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; --- uninstaller -------------------------------------------------------------

; in: a path; out: its long form, or the path itself when it does not exist.
Function un.LongPath
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

; in: a path; out: 1 when it names this installation's Dayvane.exe.
Function un.IsOurProgram
  Exch $0
  Push $1
  Push $0
  Call un.LongPath
  Pop $0
  Push "$INSTDIR\Dayvane.exe"
  Call un.LongPath
  Pop $1
  ${If} $0 == $1  ; StrCmp ignores case, as Windows paths do
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $1
  Exch $0
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.CloseDayvane

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

  ; The desktop shortcut that Dayvane made, if it still starts this one.
  ${If} ${FileExists} "$DESKTOP\Dayvane.lnk"
    Push "$DESKTOP\Dayvane.lnk"
    Call un.LinkTarget
    Call un.IsOurProgram
    Pop $0
    ${If} $0 = 1
      Delete "$DESKTOP\Dayvane.lnk"
    ${EndIf}
  ${EndIf}

  Delete "$SMPROGRAMS\Dayvane.lnk"
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
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
