; Tollan's per-user installer (no administrator rights), English or Russian by the
; user interface language. Made by installer/make-installer, which defines TARGET, ARCH,
; VERSION, BUILD (the build folder), ICON and OUTFILE.
; Never touches HKCU\Software\Brellow Group: the panel settings survive upgrades and
; uninstalling. Never overwrites or removes a VUZoz.dll that is not our simulator.

Unicode true
Target ${TARGET}
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define PRODUCT "Tollan"
!define PUBLISHER "Brellow Group"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tollan"
!define SIMULATOR_NAME "Tollan panel simulator"

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
!define MUI_COMPONENTSPAGE_NODESC

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
LangString SectionSimulator ${LANG_RUSSIAN} "Simulated panels (имитация панелей)"
LangString ShortcutTest ${LANG_ENGLISH} "Tollan (test mode)"
LangString ShortcutTest ${LANG_RUSSIAN} "Tollan (test mode)"
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
    CreateShortcut "$SMPROGRAMS\$(ShortcutTest).lnk" "$INSTDIR\Tollan.exe" "test" "$INSTDIR\Tollan.exe" 0
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
    simulator_done:
SectionEnd

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

; "Simulated panels" is chosen only when the folder has no VUZoz.dll yet.
Function SelectSimulatorByFolder
    ${If} ${FileExists} "$INSTDIR\VUZoz.dll"
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
    Delete "$SMPROGRAMS\$(ShortcutTest).lnk"
    Delete "$INSTDIR\Tollan.exe"
    ${If} ${FileExists} "$INSTDIR\VUZoz.dll"
        StrCpy $R0 "$INSTDIR\VUZoz.dll"
        Call un.IsSimulator
        ${If} $R1 == 1
            Delete "$INSTDIR\VUZoz.dll"
        ${EndIf}
    ${EndIf}
    RMDir /r "$INSTDIR\help"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
