; Brisolt's setup program: a per-user installation that needs no administrator rights.
; The build passes VERSION (1.2.3), TARGET (amd64-unicode or x86-unicode), STAGE (the folder with the
; files to ship), ICON (the program's icon) and OUTFILE on makensis's command line.
;
; The program goes to the user's own program folder; the settings file and the sample document are
; seeded once and from then on belong to the user: a new installation never replaces them, and the
; uninstaller leaves them where they are.

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brisolt"
!define SETTINGS_DIR "$APPDATA\Brisolt"
!define SETTINGS_FILE "$APPDATA\Brisolt\Brisolt.ini"
!define SAMPLE_DIR "$DOCUMENTS\Brisolt"
!define SHORTCUT "$SMPROGRAMS\Brisolt.lnk"

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
VIAddVersionKey "CompanyName" "The Brisolt developers"
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
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Starts the bar as the Start-menu shortcut does.
Function StartBrisolt
  SetOutPath "${SAMPLE_DIR}"
  Exec '"$INSTDIR\Brisolt.exe" /i "${SETTINGS_FILE}"'
FunctionEnd

Section "Brisolt"
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

  ; The shortcut's working folder is the one of the last SetOutPath: the documents.
  SetOutPath "${SAMPLE_DIR}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\Brisolt.exe" '/i "${SETTINGS_FILE}"' \
                 "$INSTDIR\Brisolt.exe" 0 SW_SHOWNORMAL "" "Button bar for TeX and LaTeX"
  SetOutPath "$INSTDIR"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Brisolt"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Brisolt developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Brisolt.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the setup program put into the program folder, by name, and the shortcut. The settings
; file and the sample stay; so does anything else the user saved in the program folder.
Section "Uninstall"
  Delete "${SHORTCUT}"
  Delete "$INSTDIR\Brisolt.exe"
  Delete "$INSTDIR\corvane.exe"
  Delete "$INSTDIR\Brisolt.chm"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
