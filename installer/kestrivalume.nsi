; The installer of one architecture, in French, for the current user only (no administrator
; rights). Built by scripts/release.sh, which passes:
;   ARCH      win32 or win64
;   VERSION   1.12.06.05            VERSION_QUAD  1.12.6.5
;   STAGE     folder holding the files to install (the same as the zip's)
;   GENERATED folder holding files.nsh (File and Delete lines of every installed file) and
;             texts.nsh (WRONG_ARCHITECTURE_TEXT, the program's own refusal)
;   ICON      the program's emblem as .ico
;   OUTFILE   the installer to write
Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include "${GENERATED}/texts.nsh"
!include "${GENERATED}/files.nsh"

!define PRODUCT "Kestrivalume"
!define MAKER "Varnholtiqa"
!define WEBSITE "https://kestrivalume.varnholtiqa.example/"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\${MAKER}\${PRODUCT}"
!define UNINSTALLER "desinstaller.exe"
; The program's button window: closing it quits the program, which then saves and ends.
!define WINDOW_CLASS "KestrivalumeWindow"

Name "${PRODUCT}"
Caption "Installation de ${PRODUCT} ${VERSION}"
UninstallCaption "Désinstallation de ${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${MAKER}"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=1036 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1036 "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=1036 "FileDescription" "Installation de ${PRODUCT}"
VIAddVersionKey /LANG=1036 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1036 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1036 "LegalCopyright" "Copyright ${MAKER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PRODUCT}.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Lancer ${PRODUCT} maintenant"
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

; 1 when CloseProgram found the program running (its window or its mutex), else 0.
Var ProgramWasRunning
; 1 when the installation replaced an installed program (its executable was in $INSTDIR).
Var Updating
; 1 when the installation started the program again; the finish page then offers no second start
; (a second start would end this one, unsaved, to take its place).
Var ProgramRestarted

; Ends a running Kestrivalume the way the user would (its button window is closed, so it saves
; and writes what it writes at exit) and waits until the process is gone: its executable stays
; locked until then, and its exit would write the registry values back after we removed them.
; The named mutex "Kestrivalume" lives exactly as long as the process; it also tells a program
; still starting, before its window exists, which is then closed once its window appears.
; A program that does not end is never worked around: the user may close it and try again, or
; the installation stops with an error (exit code 2, also in silent mode), nothing changed.
!macro CLOSE_PROGRAM prefix
Function ${prefix}CloseProgram
  StrCpy $ProgramWasRunning 0
  again:
  StrCpy $3 0  ; the window already asked to close
  ; The program may wait up to 15 s for its catalogue refresh before it ends.
  ${For} $1 1 100
    FindWindow $0 "${WINDOW_CLASS}" "${PRODUCT}"
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${PRODUCT}") p .r2'
    ${If} $2 P<> 0
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
    ${If} $0 = 0
    ${AndIf} $2 P= 0
      Return
    ${EndIf}
    StrCpy $ProgramWasRunning 1
    ${If} $0 <> 0
    ${AndIf} $0 <> $3
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
      StrCpy $3 $0
    ${EndIf}
    Sleep 250
  ${Next}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} ne s'est pas fermé.$\r$\nFermez-le, puis cliquez sur Réessayer." \
    /SD IDCANCEL IDRETRY again
  Abort "${PRODUCT} ne s'est pas fermé : rien n'a été modifié."
FunctionEnd
!macroend
!insertmacro CLOSE_PROGRAM ""
!insertmacro CLOSE_PROGRAM "un."

Function .onInit
!if "${ARCH}" == "win32"
  ; The same refusal as the program's own on 64-bit Windows.
  ${If} ${RunningX64}
    MessageBox MB_OK "${WRONG_ARCHITECTURE_TEXT}" /SD IDOK
    Abort
  ${EndIf}
!else
  ${IfNot} ${RunningX64}
    MessageBox MB_OK "Cette version de ${PRODUCT} est prévue pour Windows 64 bits. Veuillez utiliser la version 32 bits." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
!endif
  StrCpy $ProgramWasRunning 0
  StrCpy $Updating 0
  StrCpy $ProgramRestarted 0
FunctionEnd

; An update (the program's executable already in the folder) closes a running program and starts
; it again from the new files, as the user who runs the installer, without waiting for it; the
; user's data (%APPDATA%\Kestrivalume) and skins the user added stay, since nothing is deleted.
; A first installation never starts the program by itself: the finish page offers it.
Section "-Programme"
  ${If} ${FileExists} "$INSTDIR\${PRODUCT}.exe"
    StrCpy $Updating 1
  ${EndIf}
  Call CloseProgram
  SetOutPath "$INSTDIR"
  !insertmacro INSTALL_FILES
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  SetShellVarContext current
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${PRODUCT}.exe" "" "$INSTDIR\${PRODUCT}.exe" 0 \
    SW_SHOWNORMAL "" "Menu de démarrage ${PRODUCT}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${WEBSITE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PRODUCT}.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  ${If} $Updating = 1
  ${AndIf} $ProgramWasRunning = 1
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\${PRODUCT}.exe"'
    StrCpy $ProgramRestarted 1
  ${EndIf}
SectionEnd

Function FinishPageShow
  ${If} $ProgramRestarted = 1
    ${NSD_Uncheck} $mui.FinishPage.Run
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Function un.onInit
!if "${ARCH}" == "win64"
  SetRegView 64
!endif
FunctionEnd

; Removes what the installer put there and what the program registered, nothing else: skins the
; user added stay, and so does the folder when anything is left in it.
Section "-un.Programme"
  Call un.CloseProgram
  !insertmacro UNINSTALL_FILES
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR\Skins"
  RMDir "$INSTDIR"
  SetShellVarContext current
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\${MAKER}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; Off unless the user ticks it (also in silent mode): the settings and usage lists are kept.
Section /o "un.Mes réglages et mes listes"
  RMDir /r "$APPDATA\${PRODUCT}"
SectionEnd
