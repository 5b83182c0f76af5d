; Vistrane's setup program: installs the applet and its converter, sample
; pictures in the default picture folder, the logon run, the Control Panel
; registration and an entry in Add/Remove Programs.
;   makensis -DDIST=<folder with the built files> -DPICTURES=<sample pictures>
;            -DICON=<vistrane.ico> -DOUTFILE=<setup.exe> Vistrane.nsi

Unicode true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"
!include "${PICTURES}\pictures.nsh"

!define PRODUCT "Vistrane"
!define VERSION "2.1.0.0"
!define PUBLISHER "Calderane"
; The folder the applet reads its pictures from until the user picks another.
; The binaries live elsewhere, so they never become candidates.
!define PICTURE_FOLDER "C:\Program Files\Vistrane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vistrane"
!define CPLS_KEY "Software\Microsoft\Windows\CurrentVersion\Control Panel\Cpls"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PUBLISHER}\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
Icon "${ICON}"
UninstallIcon "${ICON}"

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_NOAUTOCLOSE
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!macro InstallPicture Name
    File "${PICTURES}\${Name}"
!macroend

!macro RemovePicture Name
    Delete "${PICTURE_FOLDER}\${Name}"
!macroend

; The Control Panel registration, in the registry view of each Control Panel
; there is: a 64-bit Windows lists a 32-bit applet registered in its own view.
!macro WriteCpl Path
    WriteRegStr HKLM "${CPLS_KEY}" "${PRODUCT}" "${Path}"
    ${If} ${RunningX64}
        SetRegView 64
        WriteRegStr HKLM "${CPLS_KEY}" "${PRODUCT}" "${Path}"
        SetRegView 32
    ${EndIf}
!macroend

!macro RemoveCpl
    DeleteRegValue HKLM "${CPLS_KEY}" "${PRODUCT}"
    ${If} ${RunningX64}
        SetRegView 64
        DeleteRegValue HKLM "${CPLS_KEY}" "${PRODUCT}"
        SetRegView 32
    ${EndIf}
!macroend

Section "Vistrane"
    SetOutPath "$INSTDIR"
    File "${DIST}\Vistrane.cpl"
    File "${DIST}\Vistrane-jpeg.dll"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    SetOutPath "${PICTURE_FOLDER}"
    !insertmacro SamplePictures InstallPicture
    SetOutPath "$INSTDIR"

    !insertmacro WriteCpl "$INSTDIR\Vistrane.cpl"
    WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" 'rundll32.exe "$INSTDIR\Vistrane.cpl",AfterLogon'

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Vistrane.cpl,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    ${GetSize} "${PICTURE_FOLDER}" "/S=0K" $3 $1 $2
    IntOp $0 $0 + $3
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes what setup added. The applet itself may be loaded by a Control
; Panel or a logon run right now, so it is left to the applet's own
; uninstall entry, which schedules its deletion at the next restart and
; thanks the user; the settings key stays, as that entry leaves it.
Section "Uninstall"
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    !insertmacro RemoveCpl
    DeleteRegKey HKLM "${UNINSTALL_KEY}"

    Delete /REBOOTOK "$INSTDIR\Vistrane-jpeg.dll"
    !insertmacro SamplePictures RemovePicture
    RMDir "${PICTURE_FOLDER}"

    ; The applet's entry schedules its deletion first and then thanks the
    ; user, so the folder's own removal is scheduled after it. A silent
    ; uninstallation does not wait for the thanks to be answered, only for
    ; it to appear (ten seconds at most).
    ${If} ${Silent}
        Exec 'rundll32.exe "$INSTDIR\Vistrane.cpl",DeinstallNT $INSTDIR\Vistrane.cpl'
        StrCpy $1 0
        ${Do}
            FindWindow $0 "#32770" "Vistrane"
            ${IfThen} $0 <> 0 ${|} ${ExitDo} ${|}
            Sleep 100
            IntOp $1 $1 + 1
        ${LoopUntil} $1 >= 100
    ${Else}
        ExecWait 'rundll32.exe "$INSTDIR\Vistrane.cpl",DeinstallNT $INSTDIR\Vistrane.cpl'
    ${EndIf}

    Delete "$INSTDIR\uninstall.exe"
    RMDir /REBOOTOK "$INSTDIR"
    ${GetParent} "$INSTDIR" $0
    RMDir /REBOOTOK "$0"
SectionEnd
