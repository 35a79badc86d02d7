; SentavoSetup.exe: installs the guest PC part (SentavoClient with lockgina.dll, started at every
; sign-in) or the operator's part (SentavoAdmin with a start-menu entry), asks for the shared folder
; and the establishment and writes them into Sentavo.cfg. Built on Linux with makensis; the build
; passes the files in with -D: CLIENT_EXE, GINA_DLL, GUARD_EXE, ADMIN_EXE, CODES_EXE, ICON, OUTFILE.
;
; Silent use: SentavoSetup.exe /S [/PART=client|admin|both] [/SHARE=folder] [/PROVOZOVNA=text]
;             (/PASSWORD=text | /TRIAL=1) [/GUARD=0] [/SVCUSER=account /SVCPASS=password]
;             [/D=install folder]                                     uninstall: Uninstall.exe /S
; The guest part installs the service SentavoGuard (unless /GUARD=0), which runs the lock screen
; and starts SentavoClient in every user's session; Sentavo.cfg is then readable by SYSTEM and the
; Administrators only. /SVCUSER= runs the service under that local account instead of LocalSystem,
; for a workgroup share that the same account (with the same password) may open on the operator's PC.
; The password and the settings go only into a Sentavo.cfg that is not there yet: a reinstall keeps
; the operator's. The well-known default password is written only for a trial install (/TRIAL=1, or
; the checkbox on the settings page); a silent install that would write a new Sentavo.cfg without
; either fails with exit code 2 before it installs anything. Warnings and errors of a silent run
; are appended to %TEMP%\SentavoSetup.log.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define PRODUCT "Sentavo"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Sentavo"
!define STATE_KEY "Software\Sentavo"
!define MACHINE_POLICIES "Software\Microsoft\Windows\CurrentVersion\Policies\System"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Sentavo"
Icon "${ICON}"
UninstallIcon "${ICON}"
BrandingText "Sentavo"

Var Share
Var Provozovna
Var Guard
Var SvcUser
Var SvcPass
Var Password
Var Trial
Var ShareChecked
Var ShareField
Var ProvozovnaField
Var PasswordField
Var TrialBox

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
Page custom SettingsPage SettingsPageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Czech"

; The part of the operator's PC keeps its working data (Sentavo.cfg, codes.dat) in ProgramData,
; which every operator account can write, unlike Program Files.
!define ADMIN_DATA "$COMMONPROGRAMDATA\Sentavo"

; Deletes a program's file as soon as the program, told to end, lets go of it; at most 10 s.
!macro DeleteWhenFree FILE
  StrCpy $9 0
  ${Do}
    Delete "${FILE}"
    ${IfNot} ${FileExists} "${FILE}"
    ${OrIf} $9 >= 40
      ${Break}
    ${EndIf}
    IntOp $9 $9 + 1
    Sleep 250
  ${Loop}
!macroend

InstType "Hostovský počítač (SentavoClient)"
InstType "Počítač obsluhy (SentavoAdmin)"

Section "Hostovský počítač: SentavoClient a lockgina.dll" SecClient
  SectionIn 1
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  ; First, so that whatever fails below leaves a way to take the installation away again.
  Call WriteUninstaller
  ; A guard of an earlier installation is stopped first: it ends its lock window, so that both
  ; programs can be replaced.
  ${If} ${FileExists} "$INSTDIR\SentavoGuard.exe"
    nsExec::ExecToLog '"$SYSDIR\sc.exe" stop SentavoGuard'
    Pop $1
    !insertmacro DeleteWhenFree "$INSTDIR\SentavoClient.exe"
    !insertmacro DeleteWhenFree "$INSTDIR\SentavoGuard.exe"
  ${EndIf}
  File "/oname=SentavoClient.exe" "${CLIENT_EXE}"
  File "/oname=lockgina.dll" "${GINA_DLL}"
  ; The code tool issues codes without any password: a guest who found it would mint free time.
  ; It never stays on a guest PC, not even from an earlier installation (the operator's part,
  ; installed after this one, leaves it out as well).
  Delete "$INSTDIR\sentavo-codes.exe"
  ; The client reads Sentavo.cfg beside its program; the operator's settings and password survive
  ; a reinstallation.
  StrCpy $0 "$INSTDIR\Sentavo.cfg"
  ${IfNot} ${FileExists} "$0"
    Call PrepareShare
    Call WriteConfig
  ${EndIf}
  ; The machine policies that empty the Ctrl+Alt+Del screen need administrator rights, which the
  ; guest's own account lacks: put them in force now, while the installer has them.
  System::Call '"$INSTDIR\lockgina.dll"::wlInstallGina() i .r0 ?u'
  File "/oname=SentavoGuard.exe" "${GUARD_EXE}"
  ${If} $Guard == 1
    Call InstallGuard
  ${Else}
    ; Without the guard the client runs by itself, started at every sign-in of every user.
    nsExec::ExecToLog '"$INSTDIR\SentavoGuard.exe" uninstall'
    Pop $1
    CreateShortcut "$SMSTARTUP\Sentavo Client.lnk" "$INSTDIR\SentavoClient.exe"
    WriteRegDWORD HKLM "${STATE_KEY}" "Guard" 0
  ${EndIf}
  WriteRegDWORD HKLM "${STATE_KEY}" "Client" 1
SectionEnd

Section "Počítač obsluhy: SentavoAdmin" SecAdmin
  SectionIn 2
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  Call WriteUninstaller
  File "/oname=SentavoAdmin.exe" "${ADMIN_EXE}"
  ; Not where the guest part goes too: that PC is a guest's.
  ${IfNot} ${SectionIsSelected} ${SecClient}
    File "/oname=sentavo-codes.exe" "${CODES_EXE}"
  ${EndIf}
  CreateDirectory "${ADMIN_DATA}"
  ; ProgramData lets ordinary users create files but not change those another user made: the
  ; operator's standard account must rewrite Sentavo.cfg and codes.dat, whoever wrote them first.
  ; Where icacls is missing or refuses, the installation goes on and says so.
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "${ADMIN_DATA}" /grant *S-1-5-32-545:(OI)(CI)M'
  Pop $1
  ${If} $1 != 0
    StrCpy $R8 "Oprávnění složky ${ADMIN_DATA} se nepodařilo nastavit (icacls: $1). Dejte skupině Users právo Změnit ručně."
    Call Warn
  ${EndIf}
  StrCpy $0 "${ADMIN_DATA}\Sentavo.cfg"
  ; An operator's own settings and password survive a reinstallation.
  ${IfNot} ${FileExists} "$0"
    Call PrepareShare
    Call WriteConfig
  ${EndIf}
  ; The shortcut starts the program in its working folder, where it keeps its files.
  SetOutPath "${ADMIN_DATA}"
  CreateDirectory "$SMPROGRAMS\Sentavo"
  CreateShortcut "$SMPROGRAMS\Sentavo\Sentavo ADMIN.lnk" "$INSTDIR\SentavoAdmin.exe"
  WriteRegDWORD HKLM "${STATE_KEY}" "Admin" 1
SectionEnd

; $0: the Sentavo.cfg to write from $Share, $Provozovna and $Password. The code tool runs from the
; installer's own temporary folder, which goes when the installer ends.
; The service runs the lock screen where the guest cannot end it, and starts the client itself:
; no Startup entry. The secrets in Sentavo.cfg are for the service alone.
Function InstallGuard
  Delete "$SMSTARTUP\Sentavo Client.lnk"
  ${If} $SvcUser == ""
    nsExec::ExecToLog '"$INSTDIR\SentavoGuard.exe" install'
  ${Else}
    nsExec::ExecToLog '"$INSTDIR\SentavoGuard.exe" install ".\$SvcUser" "$SvcPass"'
  ${EndIf}
  Pop $1
  ${If} $1 != 0
    StrCpy $R8 "Službu SentavoGuard se nepodařilo zaregistrovat ($1). Klient se spustí sám při přihlášení."
    Call Warn
    CreateShortcut "$SMSTARTUP\Sentavo Client.lnk" "$INSTDIR\SentavoClient.exe"
    WriteRegDWORD HKLM "${STATE_KEY}" "Guard" 0
    Return
  ${EndIf}
  ; SYSTEM and the Administrators only, the service's own account too where one was given.
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR\Sentavo.cfg" /inheritance:r /grant:r *S-1-5-18:F *S-1-5-32-544:F'
  Pop $1
  ${If} $1 != 0
    StrCpy $R8 "Práva souboru Sentavo.cfg se nepodařilo omezit (icacls: $1)."
    Call Warn
  ${EndIf}
  ${If} $SvcUser != ""
    nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR\Sentavo.cfg" /grant ".\$SvcUser:(R,W)"'
    Pop $1
  ${EndIf}
  nsExec::ExecToLog '"$SYSDIR\sc.exe" start SentavoGuard'
  Pop $1
  WriteRegDWORD HKLM "${STATE_KEY}" "Guard" 1
FunctionEnd

Function WriteConfig
  InitPluginsDir
  File "/oname=$PLUGINSDIR\sentavo-codes.exe" "${CODES_EXE}"
  ; The values go inside double quotes on the tool's command line.
  Call AnyQuote
  ${If} $R9 == 1
    StrCpy $1 "quote"
  ${ElseIf} $Password == ""
    ; Only a trial install gets here without a password: the tool then writes the default one.
    nsExec::ExecToLog '"$PLUGINSDIR\sentavo-codes.exe" config --out "$0" --server-path "$Share" --establishment "$Provozovna"'
    Pop $1
  ${Else}
    nsExec::ExecToLog '"$PLUGINSDIR\sentavo-codes.exe" config --out "$0" --server-path "$Share" --establishment "$Provozovna" --password "$Password"'
    Pop $1
  ${EndIf}
  Delete "$PLUGINSDIR\sentavo-codes.exe"
  ${If} $1 != 0
    StrCpy $R8 "Soubor $0 se nepodařilo zapsat. Provozovna, sdílená složka i heslo smí obsahovat jen češtinu a západoevropské znaky a žádné uvozovky. Instalace byla přerušena; odinstalátor ji odebere."
    Call Fail
  ${EndIf}
FunctionEnd

; A local shared folder that is not there yet is made; a network path only gets checked, since the
; server may simply be off at installation time. Either way the installation goes on.
Function PrepareShare
  ${If} $ShareChecked == 1
    Return
  ${EndIf}
  StrCpy $ShareChecked 1
  ; Without its final backslash, so that "\*.*" can follow.
  StrCpy $2 $Share
  ${DoWhile} $2 != ""
    StrCpy $3 $2 "" -1
    ${If} $3 != "\"
      ${ExitDo}
    ${EndIf}
    StrCpy $2 $2 -1
  ${Loop}
  StrCpy $3 $2 2
  ${If} $3 == "\\"
    ${IfNot} ${FileExists} "$2\*.*"
      StrCpy $R8 "Sdílená složka $Share není dostupná. Zkontrolujte, že server běží a že účet hosta i obsluhy v ní má právo Změnit."
      Call Warn
    ${EndIf}
  ${ElseIfNot} ${FileExists} "$2\*.*"
    ClearErrors
    CreateDirectory "$2"
    ${If} ${Errors}
      StrCpy $R8 "Sdílenou složku $Share se nepodařilo vytvořit."
      Call Warn
    ${Else}
      DetailPrint "Vytvořena sdílená složka $2"
    ${EndIf}
  ${EndIf}
FunctionEnd

; $R8: a warning. Shown, or in a silent run appended to the log, and the installation goes on.
Function Warn
  DetailPrint "$R8"
  Call AppendLog
  MessageBox MB_OK|MB_ICONEXCLAMATION "$R8" /SD IDOK
FunctionEnd

; $R8: why the installation stops. Exit code 2.
Function Fail
  DetailPrint "$R8"
  Call AppendLog
  MessageBox MB_OK|MB_ICONSTOP "$R8" /SD IDOK
  SetErrorLevel 2
  Abort
FunctionEnd

Function AppendLog
  ClearErrors
  FileOpen $9 "$TEMP\SentavoSetup.log" a
  ${IfNot} ${Errors}
    FileSeek $9 0 END
    FileWriteUTF16LE $9 "$R8$\r$\n"
    FileClose $9
  ${EndIf}
FunctionEnd

; $R9: 1 when the shared folder, the establishment or the password holds a double quote, which
; would end its argument on the code tool's command line.
Function AnyQuote
  StrCpy $R9 "$Share$Provozovna$Password"
  StrCpy $R7 0
  loop:
    StrCpy $R6 $R9 1 $R7
    StrCmp $R6 "" none
    StrCmp $R6 '"' found
    IntOp $R7 $R7 + 1
    Goto loop
  found:
    StrCpy $R9 1
    Return
  none:
    StrCpy $R9 0
FunctionEnd

; $R9: 1 when a part chosen has no Sentavo.cfg yet, so that one will be written with the password.
Function NeedsConfig
  StrCpy $R9 0
  ${If} ${SectionIsSelected} ${SecClient}
  ${AndIfNot} ${FileExists} "$INSTDIR\Sentavo.cfg"
    StrCpy $R9 1
  ${EndIf}
  ${If} ${SectionIsSelected} ${SecAdmin}
  ${AndIfNot} ${FileExists} "${ADMIN_DATA}\Sentavo.cfg"
    StrCpy $R9 1
  ${EndIf}
FunctionEnd

Function WriteUninstaller
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Sentavo"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Sentavo"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
FunctionEnd

Function .onInit
  StrCpy $Share "C:\Sentavo\kody\"
  StrCpy $Provozovna ""
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/SHARE=" $R1
  ${IfNot} ${Errors}
    StrCpy $Share $R1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/PROVOZOVNA=" $R1
  ${IfNot} ${Errors}
    StrCpy $Provozovna $R1
  ${EndIf}
  StrCpy $Password ""
  ClearErrors
  ${GetOptions} $R0 "/PASSWORD=" $R1
  ${IfNot} ${Errors}
    StrCpy $Password $R1
  ${EndIf}
  StrCpy $Guard 1
  ClearErrors
  ${GetOptions} $R0 "/GUARD=" $R1
  ${If} $R1 == 0
    StrCpy $Guard 0
  ${EndIf}
  StrCpy $SvcUser ""
  StrCpy $SvcPass ""
  ClearErrors
  ${GetOptions} $R0 "/SVCUSER=" $R1
  ${IfNot} ${Errors}
    StrCpy $SvcUser $R1
    ${GetOptions} $R0 "/SVCPASS=" $R1
    StrCpy $SvcPass $R1
  ${EndIf}
  StrCpy $Trial 0
  ClearErrors
  ${GetOptions} $R0 "/TRIAL=" $R1
  ${If} $R1 == 1
    StrCpy $Trial 1
  ${EndIf}
  ; The guest PC part unless the operator's part is asked for.
  SetCurInstType 0
  ClearErrors
  ${GetOptions} $R0 "/PART=" $R1
  ${If} $R1 == "admin"
    SetCurInstType 1
  ${ElseIf} $R1 == "both"
    !insertmacro SelectSection ${SecClient}
    !insertmacro SelectSection ${SecAdmin}
  ${EndIf}
  ; Everyone knows the default password: a silent install writes it only when told this is a trial.
  ${If} ${Silent}
  ${AndIf} $Password == ""
  ${AndIf} $Trial != 1
    Call NeedsConfig
    ${If} $R9 == 1
      StrCpy $R8 "Zadejte heslo administrátora (/PASSWORD=heslo), nebo pro zkušební instalace s heslem vamor /TRIAL=1. Nic nebylo nainstalováno."
      Call Fail
    ${EndIf}
  ${EndIf}
FunctionEnd

Function SettingsPage
  !insertmacro MUI_HEADER_TEXT "Nastavení" "Sdílená složka pro kódy a provozovna"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 24u "Sdílená složka, přes kterou si programy předávají kódy (cesta pro komunikaci se serverem). Na všech počítačích provozovny musí vést do stejné složky."
  Pop $0
  ${NSD_CreateText} 0 28u 80% 12u "$Share"
  Pop $ShareField
  ${NSD_CreateBrowseButton} 82% 27u 18% 14u "Procházet..."
  Pop $0
  ${NSD_OnClick} $0 BrowseShare
  ${NSD_CreateLabel} 0 52u 100% 12u "Provozovna (kód platí jen na počítačích se stejným textem):"
  Pop $0
  ${NSD_CreateText} 0 66u 100% 12u "$Provozovna"
  Pop $ProvozovnaField
  ${NSD_CreateLabel} 0 88u 100% 12u "Heslo administrátora (pro SentavoAdmin a odemčení hostovského počítače):"
  Pop $0
  ${NSD_CreatePassword} 0 102u 100% 12u "$Password"
  Pop $PasswordField
  ${NSD_CreateCheckbox} 0 120u 100% 12u "Zkušební instalace: bez hesla platí známé výchozí heslo vamor"
  Pop $TrialBox
  ${If} $Trial == 1
    ${NSD_Check} $TrialBox
  ${EndIf}
  ${NSD_CreateLabel} 0 136u 100% 12u "Kde Sentavo.cfg už je, zůstane beze změny (heslo i nastavení)."
  Pop $0
  nsDialogs::Show
FunctionEnd

Function BrowseShare
  ${NSD_GetText} $ShareField $0
  nsDialogs::SelectFolderDialog "Sdílená složka pro kódy" "$0"
  Pop $0
  ${If} $0 != error
    ${NSD_SetText} $ShareField "$0"
  ${EndIf}
FunctionEnd

Function SettingsPageLeave
  ${NSD_GetText} $ShareField $Share
  ${NSD_GetText} $ProvozovnaField $Provozovna
  ${NSD_GetText} $PasswordField $Password
  ${NSD_GetState} $TrialBox $0
  StrCpy $Trial 0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $Trial 1
  ${EndIf}
  ${If} $Share == ""
    MessageBox MB_OK|MB_ICONEXCLAMATION "Zadejte prosím sdílenou složku."
    Abort
  ${EndIf}
  Call NeedsConfig
  ${If} $R9 == 1
  ${AndIf} $Password == ""
  ${AndIf} $Trial != 1
    MessageBox MB_OK|MB_ICONEXCLAMATION "Zadejte heslo administrátora, nebo zaškrtněte zkušební instalaci."
    Abort
  ${EndIf}
  Call AnyQuote
  ${If} $R9 == 1
    MessageBox MB_OK|MB_ICONEXCLAMATION "Sdílená složka, provozovna ani heslo nesmí obsahovat uvozovky."
    Abort
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  ; The service first: stopping it ends the lock window it keeps running.
  ${If} ${FileExists} "$INSTDIR\SentavoGuard.exe"
    nsExec::ExecToLog '"$INSTDIR\SentavoGuard.exe" uninstall'
    Pop $1
    !insertmacro DeleteWhenFree "$INSTDIR\SentavoClient.exe"
    !insertmacro DeleteWhenFree "$INSTDIR\SentavoGuard.exe"
  ${EndIf}
  ; Lift every block of the library, and the machine policies it put in force, before it goes.
  ${If} ${FileExists} "$INSTDIR\lockgina.dll"
    System::Call '"$INSTDIR\lockgina.dll"::wlRestoreAll() i .r0 ?u'
    System::Call '"$INSTDIR\lockgina.dll"::wlUninstallGina() i .r0 ?u'
  ${EndIf}
  ; The policies go even when the library is already gone, but only where the guest part was: on
  ; an operator's PC they may be the administrator's own.
  ReadRegDWORD $1 HKLM "${STATE_KEY}" "Client"
  ${If} $1 == 1
  ${OrIf} ${FileExists} "$INSTDIR\lockgina.dll"
    DeleteRegValue HKLM "${MACHINE_POLICIES}" "DisableTaskMgr"
    DeleteRegValue HKLM "${MACHINE_POLICIES}" "DisableLockWorkstation"
    DeleteRegValue HKLM "${MACHINE_POLICIES}" "DisableChangePassword"
    DeleteRegValue HKLM "${MACHINE_POLICIES}" "HideFastUserSwitching"
    DeleteRegValue HKLM "SOFTWARE\Policies\Microsoft\Windows\EdgeUI" "AllowEdgeSwipe"
    ; The client's own policies for the user who runs the uninstaller.
    WriteRegDWORD HKCU "${MACHINE_POLICIES}" "DisableTaskMgr" 0
    WriteRegDWORD HKCU "${MACHINE_POLICIES}" "DisableRegistryTools" 0
    WriteRegDWORD HKCU "${MACHINE_POLICIES}" "DisableLockWorkstation" 0
    WriteRegDWORD HKCU "${MACHINE_POLICIES}" "DisableChangePassword" 0
  ${EndIf}
  Delete "$SMSTARTUP\Sentavo Client.lnk"
  Delete "$SMPROGRAMS\Sentavo\Sentavo ADMIN.lnk"
  RMDir "$SMPROGRAMS\Sentavo"
  Delete "$INSTDIR\SentavoClient.exe"
  Delete "$INSTDIR\SentavoAdmin.exe"
  Delete "$INSTDIR\lockgina.dll"
  Delete "$INSTDIR\SentavoGuard.exe"
  Delete "$INSTDIR\sentavo-codes.exe"
  Delete "$INSTDIR\Sentavo.cfg"
  Delete "$INSTDIR\Sentavo.uid"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ; The operator's working folder holds the list of issued codes: it stays.
  DeleteRegKey HKLM "${STATE_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
