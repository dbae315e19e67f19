; setup.exe of demo disc 1: a per-user wizard that installs the demo game, records it and registers its uninstaller.
;
; Built by the Windows build as
;   makensis -INPUTCHARSET UTF8 -DGAME_DIR=<folder with kelvaro.exe and kelvaro.dat>
;            -DICON=<start.ico> -DOUTFILE=<setup.exe> [-DAMD64] setup.nsi
; Switches: /S installs without a window, /D=<folder> (last, unquoted) names the folder.

!ifndef GAME_DIR | ICON | OUTFILE
  !error "setup.nsi needs -DGAME_DIR=, -DICON= and -DOUTFILE="
!endif

; The shipped disc is 32-bit; the 64-bit build proves the same installer on machines that run
; no 32-bit code.
!ifdef AMD64
  Target amd64-unicode
!else
  Unicode true
!endif

!define GAME_NAME "Kelvaro: Wendraskel Demo"
!define PUBLISHER "Harrowlight"
!define VERSION "1.0"
; The menu on the disc reads InstallDir here, and takes the game as installed when
; InstallDir + "kelvaro.exe" opens: the value must end in a backslash.
!define RECORD_KEY "Software\Harrowlight\Kelvaro"
!define PUBLISHER_KEY "Software\Harrowlight"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Harrowlight Kelvaro Demo"
!define SHORTCUT "$SMPROGRAMS\Kelvaro Wendraskel Demo.lnk"
!define UNINSTALLER "uninstall.exe"
; The menu joins the record and "kelvaro.exe" in a 260-byte buffer: the folder, without the
; backslash the record adds, may hold 247 characters.
!define MAX_FOLDER 247

Name "${GAME_NAME}"
; The menu opens the installer by this name. makensis warns that Windows gives programs named
; setup extra compatibility treatment; the manifest's execution level keeps them from elevating.
!pragma warning disable 9000
OutFile "${OUTFILE}"
BrandingText "${PUBLISHER}"
; Everything goes to the user's own folders and registry: no elevation, on any Windows.
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Kelvaro"
; Installing again offers the folder of the last installation.
InstallDirRegKey HKCU "${RECORD_KEY}" "InstallDir"
SetCompressor /SOLID lzma
; No build-time file dates in the installer, so that two builds of the same sources agree
; byte for byte; the installed files take the time of their installation.
SetDateSave off

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; The French welcome and finish titles take three lines.
!define MUI_WELCOMEPAGE_TITLE_3LINES
!define MUI_FINISHPAGE_TITLE_3LINES

!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckFolderLength
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(StartGame)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartGame
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the fallback; a French system gets French.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "French"

LangString StartGame ${LANG_ENGLISH} "&Start the game"
LangString StartGame ${LANG_FRENCH} "&Lancer le jeu"
LangString FolderTooLong ${LANG_ENGLISH} \
  "The folder name is too long for the disc menu to find the game. Choose a folder of at most ${MAX_FOLDER} characters."
LangString FolderTooLong ${LANG_FRENCH} \
  "Le nom du dossier est trop long pour que le menu du disque trouve le jeu. Choisissez un dossier d'au plus ${MAX_FOLDER} caractères."
LangString CopyFailed ${LANG_ENGLISH} \
  "Setup could not put the game in$\r$\n$INSTDIR$\r$\n$\r$\nCheck that the folder can be written, then run Setup again."
LangString CopyFailed ${LANG_FRENCH} \
  "L'installation n'a pas pu placer le jeu dans$\r$\n$INSTDIR$\r$\n$\r$\nVérifiez que ce dossier est accessible en écriture, puis relancez l'installation."

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${GAME_NAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${GAME_NAME} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "© ${PUBLISHER}"

; The page's Next stays on the page rather than accept a folder the menu could not use.
Function CheckFolderLength
  StrLen $0 $INSTDIR
  ${If} $0 > ${MAX_FOLDER}
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(FolderTooLong)"
    Abort
  ${EndIf}
FunctionEnd

; The game reads its data from its working folder.
Function StartGame
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\kelvaro.exe"'
FunctionEnd

Section "Kelvaro"
  SetShellVarContext current

  ; /D= skips the folder page and its check.
  StrLen $0 $INSTDIR
  ${If} $0 > ${MAX_FOLDER}
    MessageBox MB_OK|MB_ICONSTOP "$(FolderTooLong)" /SD IDOK
    Abort
  ${EndIf}

  ClearErrors
  SetOutPath "$INSTDIR"
  File "${GAME_DIR}\kelvaro.exe"
  File "${GAME_DIR}\kelvaro.dat"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "$(CopyFailed)" /SD IDOK
    Abort
  ${EndIf}

  ; The shortcut starts the game in its folder, the output folder set above.
  CreateShortcut "${SHORTCUT}" "$INSTDIR\kelvaro.exe" "" "$INSTDIR\kelvaro.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${GAME_NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kelvaro.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR\"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; Last: the menu takes the game as installed as soon as the record names a folder that
  ; holds it, so everything else is in place by then.
  WriteRegStr HKCU "${RECORD_KEY}" "InstallDir" "$INSTDIR\"
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\kelvaro.exe"
  Delete "$INSTDIR\kelvaro.dat"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Whatever the player put beside the game keeps the folder.
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"

  ; The registration and the record go only when they are this installation's: another copy
  ; installed since in another folder keeps its own.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == "$INSTDIR\"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
  ReadRegStr $0 HKCU "${RECORD_KEY}" "InstallDir"
  ${If} $0 == "$INSTDIR\"
    DeleteRegValue HKCU "${RECORD_KEY}" "InstallDir"
  ${EndIf}
  ; The game's and the publisher's keys only when nothing else lives in them.
  DeleteRegKey /ifempty HKCU "${RECORD_KEY}"
  DeleteRegKey /ifempty HKCU "${PUBLISHER_KEY}"
SectionEnd
