; Brisolt's setup program: a per-user installation that needs no administrator rights.
; The build passes VERSION (1.2.3), TARGET (amd64-unicode or x86-unicode), STAGE (the folder with the
; files to ship), ICON (the program's icon) and OUTFILE on makensis's command line.
;
; The program goes to the user's own program folder; the settings file and the sample document are
; seeded once and from then on belong to the user: a new installation never replaces them, and the
; uninstaller leaves them where they are. A Start-menu shortcut and a "Send To" entry start the bar
; with the user's settings file, the latter on the document it is sent.

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brisolt"
!define SETTINGS_DIR "$APPDATA\Brisolt"
!define SETTINGS_FILE "$APPDATA\Brisolt\Brisolt.ini"
!define SAMPLE_DIR "$DOCUMENTS\Brisolt"
!define SHORTCUT "$SMPROGRAMS\Brisolt.lnk"
!define SENDTO_LINK "$SENDTO\Brisolt.lnk"
!define PUBLISHER "The Brisolt developers"

Name "Brisolt"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Brisolt"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Brisolt ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Brisolt"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Brisolt setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (c) The Brisolt developers, MIT licence"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup installs Brisolt ${VERSION}, a button bar for TeX and LaTeX, for you alone: \
it needs no administrator rights.$\r$\n$\r$\nBrisolt runs the programs of a TeX distribution such as MiKTeX \
or TeX Live, which you install separately.$\r$\n$\r$\nClick Next to continue."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Brisolt"
!define MUI_FINISHPAGE_RUN_FUNCTION StartBrisolt
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Brisolt will be removed from the folder below. Your settings and the \
sample stay:$\r$\n${SETTINGS_FILE}$\r$\n${SAMPLE_DIR}\sample.tex"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Sets $0 to 1 when FILE exists and cannot be opened for writing: a running program's file cannot.
!macro FLAG_FILE_IN_USE FILE
  ${If} ${FileExists} "${FILE}"
    ClearErrors
    FileOpen $1 "${FILE}" a
    ${If} ${Errors}
      StrCpy $0 1
    ${Else}
      FileClose $1
    ${EndIf}
  ${EndIf}
!macroend

; A running Brisolt, or the log helper of one of its runs, holds its program file open, and Windows
; refuses to replace or delete such a file. Before touching the program folder, the setup program and
; the uninstaller ask the user to close Brisolt until its files are free; Cancel, or a silent run,
; aborts without having changed anything.
!macro CLOSE_RUNNING_BRISOLT UN
Function ${UN}CloseRunningBrisolt
  Push $0
  Push $1
  retry:
  StrCpy $0 0
  !insertmacro FLAG_FILE_IN_USE "$INSTDIR\Brisolt.exe"
  !insertmacro FLAG_FILE_IN_USE "$INSTDIR\corvane.exe"
  StrCmp $0 0 free
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Brisolt is running from $INSTDIR.$\r$\n$\r$\nClose every \
Brisolt bar (wait for its runs to end, or stop them), then click Retry." /SD IDCANCEL IDRETRY retry
  DetailPrint "Brisolt is running from $INSTDIR: close it and try again."
  Pop $1
  Pop $0
  Abort
  free:
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_BRISOLT ""
!insertmacro CLOSE_RUNNING_BRISOLT "un."

; Starts the bar as the Start-menu shortcut does.
Function StartBrisolt
  SetOutPath "${SAMPLE_DIR}"
  Exec '"$INSTDIR\Brisolt.exe" /i "${SETTINGS_FILE}"'
FunctionEnd

Section "Brisolt"
  Call CloseRunningBrisolt
  SetOutPath "$INSTDIR"
  File "${STAGE}\Brisolt.exe"
  File "${STAGE}\corvane.exe"
  File "${STAGE}\Brisolt.chm"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The sample first, so that a newly seeded settings file can open it on the first start.
  CreateDirectory "${SAMPLE_DIR}"
  ${IfNot} ${FileExists} "${SAMPLE_DIR}\sample.tex"
    SetOutPath "${SAMPLE_DIR}"
    File "${STAGE}\sample.tex"
  ${EndIf}
  ${IfNot} ${FileExists} "${SETTINGS_FILE}"
    CreateDirectory "${SETTINGS_DIR}"
    SetOutPath "${SETTINGS_DIR}"
    File "${STAGE}\Brisolt.ini"
    WriteINIStr "${SETTINGS_FILE}" "Options" "Last file" "${SAMPLE_DIR}\sample.tex"
    WriteINIStr "${SETTINGS_FILE}" "Options" "LastDir" "${SAMPLE_DIR}"
    FlushINI "${SETTINGS_FILE}"
  ${EndIf}

  ; A shortcut's working folder is the one of the last SetOutPath: the documents. "Send To" adds the
  ; document's name after the arguments, and Brisolt takes it for the main file.
  SetOutPath "${SAMPLE_DIR}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\Brisolt.exe" '/i "${SETTINGS_FILE}"' \
                 "$INSTDIR\Brisolt.exe" 0 SW_SHOWNORMAL "" "Button bar for TeX and LaTeX"
  CreateShortcut "${SENDTO_LINK}" "$INSTDIR\Brisolt.exe" '/i "${SETTINGS_FILE}"' \
                 "$INSTDIR\Brisolt.exe" 0 SW_SHOWNORMAL "" "Opens the Brisolt bar on this document"
  SetOutPath "$INSTDIR"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Brisolt"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "HelpLink" "$INSTDIR\Brisolt.chm"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Brisolt.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; The program folder's size in KB, as "Apps and features" shows it.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes what the setup program put into the program folder, by name, and the shortcuts. The settings
; file and the sample stay; so does anything else the user saved in the program folder.
Section "Uninstall"
  Call un.CloseRunningBrisolt
  Delete "${SHORTCUT}"
  Delete "${SENDTO_LINK}"
  Delete "$INSTDIR\Brisolt.exe"
  Delete "$INSTDIR\corvane.exe"
  Delete "$INSTDIR\Brisolt.chm"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DetailPrint "Kept your settings file ${SETTINGS_FILE} and the sample in ${SAMPLE_DIR}."
SectionEnd
