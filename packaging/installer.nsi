; The per-user installer of Zantor Dialwick, made by scripts/package:
;   makensis -DSTAGE=DIR -DOUTFILE=FILE packaging/installer.nsi
; STAGE is the output of packaging/stage.sh. The shipped installer is a
; 32-bit program, so that it runs on both Windows, and installs the build of
; the Windows it runs on.

Unicode true

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include Sections.nsh

!define /file VERSION "${STAGE}\version.txt"
!include "${STAGE}\payload-sizes.nsh"
!define PRODUCT "Zantor Dialwick"
; makensis warns of installers named *setup.exe, which Windows may elevate by
; name; this one asks for no elevation in its manifest.
!pragma warning disable 9000

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZantorDialwick"
!define SETTINGS_KEY "Software\Orvantis\Zantor\Dialwick"
; The value the clock menu's "start with Windows" writes: the program's
; path, unquoted, as REG_EXPAND_SZ.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "ZantorDialwick"
; How dialwick.exe is found and asked to exit (see controller/dialwick_controller.cpp).
!define CONTROLLER_CLASS "ZantorDialwickController"
!define CONTROLLER_MUTEX "ZantorDialwickControllerInstance"
; ExitRequestMessage of shell/clock_messages.h, WM_USER + 100: NSIS cannot read the header.
!define EXIT_REQUEST 1124

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
; No blank in the folder name: the Run value is written unquoted.
InstallDir "$LOCALAPPDATA\Programs\ZantorDialwick"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
BrandingText "Zantor Dialwick ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 the Zantor Dialwick developers, MIT licence"

Var StoppedRunningCopy

!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\dialwick.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\win64\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Asks a running dialwick.exe (installed or portable: only one runs at a
; time) to give the clock back and end, and waits until its instance mutex
; is gone, which is when the process has ended. Sets $StoppedRunningCopy to 1
; when it stopped one; aborts when the copy does not end and the user gives up.
!macro STOP_RUNNING_COPY un
Function ${un}StopRunningCopy
  StrCpy $StoppedRunningCopy 0
  StrCpy $1 0
  ${Do}
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${CONTROLLER_MUTEX}") p .r2'
    ${If} $2 P= 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r2)'
    ${If} $1 = 0
      DetailPrint "Asking the running ${PRODUCT} to exit"
    ${EndIf}
    StrCpy $StoppedRunningCopy 1
    FindWindow $0 "${CONTROLLER_CLASS}"
    ${If} $0 P<> 0
      System::Call 'user32::PostMessageW(p r0, i ${EXIT_REQUEST}, p 0, p 0)'
    ${EndIf}
    ${If} $1 >= 100
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${PRODUCT} is still running and did not exit.$\r$\n$\r$\nChoose Exit in the clock's right-click menu, then Retry." \
        /SD IDCANCEL IDRETRY retry
      DetailPrint "${PRODUCT} is still running; nothing was changed"
      Abort "${PRODUCT} is still running"
      retry:
      StrCpy $1 0
    ${EndIf}
    Sleep 100
    IntOp $1 $1 + 1
  ${Loop}
FunctionEnd
!macroend
!insertmacro STOP_RUNNING_COPY ""
!insertmacro STOP_RUNNING_COPY "un."

Section "${PRODUCT}" SecProgram
  SectionIn RO
  Call StopRunningCopy
  SetOutPath "$INSTDIR"
  ; Explorer may still have the old library mapped after the clock was given
  ; back: Windows lets a mapped file be renamed, and it goes at the next start.
  Delete "$INSTDIR\dialwick.dll"
  ${If} ${FileExists} "$INSTDIR\dialwick.dll"
    Delete "$INSTDIR\dialwick.dll.old"
    Rename "$INSTDIR\dialwick.dll" "$INSTDIR\dialwick.dll.old"
    Delete /REBOOTOK "$INSTDIR\dialwick.dll.old"
  ${EndIf}
  ${If} ${RunningX64}
    File /r "${STAGE}\win64\*.*"
  ${Else}
    File /r "${STAGE}\win32\*.*"
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\dialwick.exe" "" "$INSTDIR\dialwick.exe" 0 \
    SW_SHOWNORMAL "" "Skins the taskbar clock"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "the Zantor Dialwick developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\dialwick.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start with Windows" SecAutostart
  WriteRegExpandStr HKCU "${RUN_KEY}" "${RUN_VALUE}" "$INSTDIR\dialwick.exe"
SectionEnd

Function .onInit
  ${If} ${RunningX64}
    SectionSetSize ${SecProgram} ${SIZE_WIN64}
  ${Else}
    SectionSetSize ${SecProgram} ${SIZE_WIN32}
  ${EndIf}
  ; On a reinstall the autostart choice starts as the user left it.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ClearErrors
  ${If} ${FileExists} "$INSTDIR\dialwick.exe"
  ${AndIf} $0 == ""
    !insertmacro UnselectSection ${SecAutostart}
  ${EndIf}
FunctionEnd

Function .onInstSuccess
  ; Turning autostart off here removes only a value that names this copy.
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $0 == "$INSTDIR\dialwick.exe"
      DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
  ${EndIf}
  ; A copy stopped for the update comes back as the new one.
  ${If} $StoppedRunningCopy = 1
    Exec '"$INSTDIR\dialwick.exe"'
  ${EndIf}
FunctionEnd

Section "un.${PRODUCT}" UnSecProgram
  SectionIn RO
  Call un.StopRunningCopy
  ; Never leave autostart pointing at a removed program; a value that names
  ; another copy is that copy's.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == "$INSTDIR\dialwick.exe"
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  !include "${STAGE}\uninstall-files.nsh"
  Delete /REBOOTOK "$INSTDIR\dialwick.dll.old"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  RMDir /REBOOTOK "$INSTDIR"
  ${If} ${FileExists} "$INSTDIR\*.*"
    DetailPrint "Kept $INSTDIR: it holds files that were not installed (your own skins?)"
  ${EndIf}
SectionEnd

Section /o "un.Remove my settings (options, skin, language)" UnSecSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Orvantis\Zantor"
  DeleteRegKey /ifempty HKCU "Software\Orvantis"
SectionEnd

; "uninstall.exe /S /REMOVESETTINGS" removes the settings without asking.
Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecSettings}
  ${EndIf}
FunctionEnd
