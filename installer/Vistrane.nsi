; Vistrane's setup program: installs the applet and its converter, sample
; pictures in the default picture folder, the logon run for every user, the
; Control Panel registration and an entry in Add/Remove Programs, on 32-bit
; Windows and on 64-bit Windows, where the 32-bit applet runs under WoW64.
;   makensis -DDIST=<folder with the built files> -DPICTURES=<sample pictures>
;            -DICON=<vistrane.ico> -DHELPER=<CancelRemoval.exe>
;            -DOUTFILE=<setup.exe> [-DSIGN=<signing command>] Vistrane.nsi

Unicode true
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; The installed files get the time they are installed, not the time they
; were built: the setup program of one commit is then the same file
; wherever and whenever it is built.
SetDateSave off
; A signed build: makensis signs the uninstaller it writes and the setup
; program with the command given as SIGN (scripts/sign-file.sh), and stops
; when signing fails.
!ifdef SIGN
    !uninstfinalize '"${SIGN}" "%1"' = 0
    !finalize '"${SIGN}" "%1"' = 0
!endif

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
!define CATEGORY_KEY "Software\Microsoft\Windows\CurrentVersion\Control Panel\Extended Properties\System.ControlPanel.Category"
; The category view's "Appearance and Personalization", beside Windows' own
; background settings.
!define CATEGORY_APPEARANCE 1
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define MOVEFILE_DELAY_UNTIL_REBOOT 4

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
; The languages, one file each: NSIS's translation of the pages and ours of
; the messages and the Add/Remove Programs entry. Both programs take the one
; of the user's interface language, and the first, English, where none is.
!include /CHARSET=UTF8 "lang\English.nsh"
!include /CHARSET=UTF8 "lang\German.nsh"
!include /CHARSET=UTF8 "lang\French.nsh"
!include /CHARSET=UTF8 "lang\Spanish.nsh"
!include /CHARSET=UTF8 "lang\Italian.nsh"
!include /CHARSET=UTF8 "lang\PortugueseBR.nsh"
!include /CHARSET=UTF8 "lang\Dutch.nsh"
!include /CHARSET=UTF8 "lang\Polish.nsh"
!include /CHARSET=UTF8 "lang\Russian.nsh"
!include /CHARSET=UTF8 "lang\Japanese.nsh"
!include /CHARSET=UTF8 "lang\SimpChinese.nsh"

!macro InstallPicture Name
    File "${PICTURES}\${Name}"
!macroend

!macro RemovePicture Name
    Delete "${PICTURE_FOLDER}\${Name}"
!macroend

!macro ListPicture Name
    StrCpy $0 '$0 "${Name}"'
!macroend

; The 32-bit rundll32.exe that hosts the applet, by its full path: a bare
; name started by 64-bit Windows' own shell would find the 64-bit one in
; System32, which cannot load a 32-bit library.
!macro HostPath Var
    ${If} ${RunningX64}
        StrCpy ${Var} "$WINDIR\SysWOW64\rundll32.exe"
    ${Else}
        StrCpy ${Var} "$SYSDIR\rundll32.exe"
    ${EndIf}
!macroend

; Every place a build of this setup program put the logon run: the machine's
; Run key, in both registry views, and the installing user's own Run key,
; where earlier builds put it for that user alone.
!macro RemoveLogonRun
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
    ${If} ${RunningX64}
        SetRegView 64
        DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
        SetRegView 32
    ${EndIf}
!macroend

; The logon run, once for the machine: every user's logon runs it, and each
; run reads that user's own settings. On 64-bit Windows it goes into the
; 64-bit view, the one the system's logon reads everywhere (Windows reads
; the 32-bit view's Run key as well, Wine does not).
!macro WriteLogonRun Command
    !insertmacro RemoveLogonRun
    ${If} ${RunningX64}
        SetRegView 64
        WriteRegStr HKLM "${RUN_KEY}" "${PRODUCT}" `${Command}`
        SetRegView 32
    ${Else}
        WriteRegStr HKLM "${RUN_KEY}" "${PRODUCT}" `${Command}`
    ${EndIf}
!macroend

; The Control Panel registration and its category, both named by the
; applet's path, wherever a build of this setup program put them: the path
; it registered before (an installation in another folder), the 64-bit view
; earlier builds wrote as well.
!macro RemoveCpl Path
    ReadRegStr $R0 HKLM "${CPLS_KEY}" "${PRODUCT}"
    ${If} $R0 != ""
        DeleteRegValue HKLM "${CATEGORY_KEY}" "$R0"
    ${EndIf}
    DeleteRegValue HKLM "${CATEGORY_KEY}" "${Path}"
    DeleteRegValue HKLM "${CPLS_KEY}" "${PRODUCT}"
    ${If} ${RunningX64}
        SetRegView 64
        DeleteRegValue HKLM "${CPLS_KEY}" "${PRODUCT}"
        SetRegView 32
    ${EndIf}
!macroend

; As Microsoft documents DLL Control Panel items: the path as a REG_EXPAND_SZ
; under Cpls, and the category that files the item in the category view.
; A 32-bit applet belongs in the 32-bit view only: 64-bit Windows lists it
; through its 32-bit Control Panel helper, and its 64-bit shell could never
; load it.
!macro WriteCpl Path
    !insertmacro RemoveCpl "${Path}"
    WriteRegExpandStr HKLM "${CPLS_KEY}" "${PRODUCT}" "${Path}"
    WriteRegDWORD HKLM "${CATEGORY_KEY}" "${Path}" ${CATEGORY_APPEARANCE}
!macroend

; An uninstallation leaves the applet, and the folders holding it, to be
; deleted at the next restart. Installing again before that restart, the
; restart would delete what was just installed: the helper cancels those
; deletions and no other program's pending operations. It is given the
; folders and the pictures' names and derives the installed paths itself:
; the command stays far below this program's 1024-character strings, as
; each folder is shorter than MAX_PATH, which installing into it needs.
; Its exit code: 0 nothing of ours is left pending; 5 the same, but
; WININIT.INI could not be read; any other, a deletion of ours may still be
; carried out at the next restart.
Function KeepInstalledFiles
    InitPluginsDir
    File "/oname=$PLUGINSDIR\CancelRemoval.exe" "${HELPER}"
    StrCpy $0 ""
    !insertmacro SamplePictures ListPicture
    ClearErrors
    StrCpy $2 ""
    ExecWait '"$PLUGINSDIR\CancelRemoval.exe" "$INSTDIR" "${PICTURE_FOLDER}"$0' $2
    ${If} ${Errors}
        StrCpy $2 "not started"
    ${EndIf}
    ${If} $2 == 5
        ; Windows NT never reads that file: nothing in it is carried out.
        DetailPrint "$(WininitUnreadable)"
    ${ElseIf} $2 != 0
        DetailPrint "$(PendingNotCancelled)"
        SetErrorLevel 2
        MessageBox MB_OK|MB_ICONEXCLAMATION "$(RestartThenSetup)" /SD IDOK
    ${EndIf}
FunctionEnd

Section "Vistrane"
    SetOutPath "$INSTDIR"
    File "${DIST}\Vistrane.cpl"
    File "${DIST}\Vistrane-jpeg.dll"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    SetOutPath "${PICTURE_FOLDER}"
    !insertmacro SamplePictures InstallPicture
    SetOutPath "$INSTDIR"
    Call KeepInstalledFiles

    !insertmacro WriteCpl "$INSTDIR\Vistrane.cpl"
    !insertmacro HostPath $0
    !insertmacro WriteLogonRun '"$0" "$INSTDIR\Vistrane.cpl",AfterLogon'

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "$(AddRemoveName)"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Comments" "$(AddRemoveComments)"
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
; Panel or a logon run right now, so it goes at the next restart; the
; settings key stays.
Section "Uninstall"
    !insertmacro RemoveLogonRun
    !insertmacro RemoveCpl "$INSTDIR\Vistrane.cpl"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"

    Delete /REBOOTOK "$INSTDIR\Vistrane-jpeg.dll"
    !insertmacro SamplePictures RemovePicture
    RMDir "${PICTURE_FOLDER}"

    ; Interactively, the applet's own uninstall entry schedules its deletion
    ; and thanks the user. A silent uninstallation must not wait for anyone,
    ; so it schedules the deletion itself with a delayed move and shows
    ; nothing. (This setup program runs only on Windows NT, which never reads
    ; WININIT.INI.) Either way the applet's deletion is scheduled before the
    ; folder's own.
    ${If} ${Silent}
        System::Call 'kernel32::MoveFileExW(w "$INSTDIR\Vistrane.cpl", p 0, i ${MOVEFILE_DELAY_UNTIL_REBOOT}) i .r0'
        ${If} $0 == 0
            DetailPrint "$(RemovalNotScheduled)"
            SetErrorLevel 2
        ${EndIf}
    ${Else}
        !insertmacro HostPath $0
        ExecWait '"$0" "$INSTDIR\Vistrane.cpl",DeinstallNT $INSTDIR\Vistrane.cpl'
    ${EndIf}

    Delete "$INSTDIR\uninstall.exe"
    RMDir /REBOOTOK "$INSTDIR"
    ${GetParent} "$INSTDIR" $0
    RMDir /REBOOTOK "$0"
SectionEnd
