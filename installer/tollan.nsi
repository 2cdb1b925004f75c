; Tollan's per-user installer (no administrator rights), English or Russian by the
; user interface language. Made by installer/make-installer, which defines TARGET, ARCH,
; VERSION, BUILD (the build folder), ICON and OUTFILE.
; Never touches HKCU\Software\Brellow Group: the panel settings survive upgrades and
; uninstalling. Never overwrites or removes a VUZoz.dll that is not our simulator.
; Tollan loads VUZoz.dll from its own folder, then from the system folder: the simulator
; is offered by default only when neither holds another VUZoz.dll, which it would hide.

Unicode true
Target ${TARGET}
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define PRODUCT "Tollan"
!define PUBLISHER "Brellow Group"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tollan"
!define SIMULATOR_NAME "Tollan panel simulator"
!define TEST_SHORTCUT_EN "Tollan (test mode)"
!define TEST_SHORTCUT_RU "Tollan (режим проверки)"
; The name of the test-mode Start-menu entry this install made (without .lnk), kept in
; the uninstall entry: the uninstaller may run in another language.
!define TEST_SHORTCUT_VALUE "TestModeShortcut"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tollan"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup (${ARCH})"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

; The folder first, so that the components know whether it already holds a VUZoz.dll.
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!define MUI_PAGE_CUSTOMFUNCTION_PRE ComponentsPre
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tollan.exe"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The wizard takes the language of the user interface (English otherwise).
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

LangString SectionProgram ${LANG_ENGLISH} "Tollan"
LangString SectionProgram ${LANG_RUSSIAN} "Tollan"
LangString SectionSimulator ${LANG_ENGLISH} "Simulated panels"
LangString SectionSimulator ${LANG_RUSSIAN} "Имитация панелей"
LangString DescriptionProgram ${LANG_ENGLISH} "The panel configurator Tollan and its user guide."
LangString DescriptionProgram ${LANG_RUSSIAN} "Программа настройки панелей Tollan и её руководство пользователя."
LangString DescriptionSimulator ${LANG_ENGLISH} "Panels simulated in software, for trying Tollan without panels. Not for use with real panels: Tollan would show these instead."
LangString DescriptionSimulator ${LANG_RUSSIAN} "Программная имитация панелей, чтобы опробовать Tollan без них. Не для работы с настоящими панелями: Tollan показывал бы вместо них имитацию."
LangString ShortcutTest ${LANG_ENGLISH} "${TEST_SHORTCUT_EN}"
LangString ShortcutTest ${LANG_RUSSIAN} "${TEST_SHORTCUT_RU}"
LangString RemovedSimulator ${LANG_ENGLISH} "Simulated panels were not chosen: the simulator VUZoz.dll in $INSTDIR is removed."
LangString RemovedSimulator ${LANG_RUSSIAN} "Имитация панелей не выбрана: имитатор VUZoz.dll из папки $INSTDIR удалён."
LangString KeptForeignLibrary ${LANG_ENGLISH} "The panel library VUZoz.dll already in $INSTDIR is not the simulator: it is kept."
LangString KeptForeignLibrary ${LANG_RUSSIAN} "Библиотека панелей VUZoz.dll в папке $INSTDIR не является имитацией: она сохранена."

; $R1 = 1 when the file $R0 is our simulator, judged by its version resource.
!macro IS_SIMULATOR_BODY
    Push $2
    Push $3
    Push $4
    Push $5
    Push $6
    StrCpy $R1 0
    System::Call 'version::GetFileVersionInfoSizeW(w R0, *i .r2) i .r3'
    ${If} $3 > 0
        System::Alloc $3
        Pop $4
        System::Call 'version::GetFileVersionInfoW(w R0, i 0, i r3, p r4) i .r5'
        ${If} $5 <> 0
            System::Call 'version::VerQueryValueW(p r4, w "\StringFileInfo\040904b0\ProductName", *p .r6, *i .r2) i .r5'
            ${If} $5 <> 0
                System::Call '*$6(&w64 .r5)'
                ${If} $5 == "${SIMULATOR_NAME}"
                    StrCpy $R1 1
                ${EndIf}
            ${EndIf}
        ${EndIf}
        System::Free $4
    ${EndIf}
    Pop $6
    Pop $5
    Pop $4
    Pop $3
    Pop $2
!macroend

Function IsSimulator
    !insertmacro IS_SIMULATOR_BODY
FunctionEnd

Function un.IsSimulator
    !insertmacro IS_SIMULATOR_BODY
FunctionEnd

; $R1 = 1 when the file $R0 exists and is not our simulator: a panel library of the maker.
Function IsForeignLibrary
    StrCpy $R1 0
    ${If} ${FileExists} $R0
        Call IsSimulator
        IntOp $R1 1 - $R1
    ${EndIf}
FunctionEnd

; $0 = the test-mode entry an earlier install made, without .lnk; empty when there was
; none. Installers that did not record it made the English one.
!macro RECORDED_TEST_SHORTCUT_BODY
    StrCpy $0 ""
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $1 != ""
        ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "${TEST_SHORTCUT_VALUE}"
        ${If} $0 != "${TEST_SHORTCUT_EN}"
        ${AndIf} $0 != "${TEST_SHORTCUT_RU}"
            StrCpy $0 "${TEST_SHORTCUT_EN}"
        ${EndIf}
    ${EndIf}
!macroend

Function RecordedTestShortcut
    !insertmacro RECORDED_TEST_SHORTCUT_BODY
FunctionEnd

Function un.RecordedTestShortcut
    !insertmacro RECORDED_TEST_SHORTCUT_BODY
FunctionEnd

Section "!$(SectionProgram)" SecProgram
    SectionIn RO
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "${BUILD}\Tollan.exe"
    SetOutPath "$INSTDIR\help"
    File /r "${BUILD}\help\*.*"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateShortcut "$SMPROGRAMS\Tollan.lnk" "$INSTDIR\Tollan.exe" "" "$INSTDIR\Tollan.exe" 0
    ; An upgrade in the other language replaces the earlier test-mode entry.
    Call RecordedTestShortcut
    ${If} $0 != ""
    ${AndIf} $0 != "$(ShortcutTest)"
        Delete "$SMPROGRAMS\$0.lnk"
    ${EndIf}
    CreateShortcut "$SMPROGRAMS\$(ShortcutTest).lnk" "$INSTDIR\Tollan.exe" "test" "$INSTDIR\Tollan.exe" 0
    WriteRegStr HKCU "${UNINSTALL_KEY}" "${TEST_SHORTCUT_VALUE}" "$(ShortcutTest)"
SectionEnd

Section "$(SectionSimulator)" SecSimulator
    SetOutPath "$INSTDIR"
    ${If} ${FileExists} "$INSTDIR\VUZoz.dll"
        StrCpy $R0 "$INSTDIR\VUZoz.dll"
        Call IsSimulator
        ${If} $R1 != 1
            DetailPrint "$(KeptForeignLibrary)"
            Goto simulator_done
        ${EndIf}
    ${EndIf}
    File "${BUILD}\VUZoz.dll"
    ; Its virtual panel windows show the simulated panels; a VUZoz.ini already there
    ; may hold the user's own settings.
    ${IfNot} ${FileExists} "$INSTDIR\VUZoz.ini"
        WriteINIStr "$INSTDIR\VUZoz.ini" "Simulator" "Virtual" "1"
    ${EndIf}
    simulator_done:
SectionEnd

; The simulator not chosen over an install that has it (a panel library of the maker is
; there now): it goes, or it would go on hiding the real panels.
Section "-SimulatorNotChosen"
    ${IfNot} ${SectionIsSelected} ${SecSimulator}
    ${AndIf} ${FileExists} "$INSTDIR\VUZoz.dll"
        StrCpy $R0 "$INSTDIR\VUZoz.dll"
        Call IsSimulator
        ${If} $R1 == 1
            Delete "$INSTDIR\VUZoz.dll"
            Delete "$INSTDIR\VUZoz.ini"
            DetailPrint "$(RemovedSimulator)"
        ${EndIf}
    ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} $(DescriptionProgram)
    !insertmacro MUI_DESCRIPTION_TEXT ${SecSimulator} $(DescriptionSimulator)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; After the files: the entry of the user's installed programs, with the size of all.
Section "-UninstallEntry"
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tollan.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; "Simulated panels" is chosen only when neither the folder nor the system folder holds
; a VUZoz.dll other than our simulator (an upgrade over the simulator keeps it). The x86
; installer on 64-bit Windows sees $SYSDIR redirected, as 32-bit Tollan does.
Function SelectSimulatorByFolder
    StrCpy $R0 "$INSTDIR\VUZoz.dll"
    Call IsForeignLibrary
    ${If} $R1 != 1
        StrCpy $R0 "$SYSDIR\VUZoz.dll"
        Call IsForeignLibrary
    ${EndIf}
    ${If} $R1 == 1
        !insertmacro UnselectSection ${SecSimulator}
    ${Else}
        !insertmacro SelectSection ${SecSimulator}
    ${EndIf}
FunctionEnd

Function .onInit
    !if "${ARCH}" == "x64"
        SetRegView 64
    !endif
    Call SelectSimulatorByFolder
FunctionEnd

Function ComponentsPre
    Call SelectSimulatorByFolder
FunctionEnd

Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\Tollan.lnk"
    Call un.RecordedTestShortcut
    ${If} $0 == ""
        StrCpy $0 "$(ShortcutTest)"
    ${EndIf}
    Delete "$SMPROGRAMS\$0.lnk"
    Delete "$INSTDIR\Tollan.exe"
    ; VUZoz.ini belongs to the simulator: it goes with it, and stays beside any other library.
    ${If} ${FileExists} "$INSTDIR\VUZoz.dll"
        StrCpy $R0 "$INSTDIR\VUZoz.dll"
        Call un.IsSimulator
        ${If} $R1 == 1
            Delete "$INSTDIR\VUZoz.dll"
            Delete "$INSTDIR\VUZoz.ini"
        ${EndIf}
    ${EndIf}
    RMDir /r "$INSTDIR\help"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
