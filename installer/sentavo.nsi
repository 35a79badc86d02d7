; SentavoSetup.exe: installs the guest PC part (SentavoClient with lockgina.dll, started at every
; sign-in) or the operator's part (SentavoAdmin with a start-menu entry), asks for the shared folder
; and the establishment and writes them into Sentavo.cfg. Built on Linux with makensis; the build
; passes the files in with -D: CLIENT_EXE, GINA_DLL, ADMIN_EXE, CODES_EXE, ICON, OUTFILE.
;
; Silent use: SentavoSetup.exe /S [/PART=client|admin|both] [/SHARE=folder] [/PROVOZOVNA=text]
;             [/D=install folder]        uninstall: Uninstall.exe /S

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

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Sentavo"
Icon "${ICON}"
UninstallIcon "${ICON}"
BrandingText "Sentavo"

Var Share
Var Provozovna
Var ShareField
Var ProvozovnaField

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

InstType "Hostovský počítač (SentavoClient)"
InstType "Počítač obsluhy (SentavoAdmin)"

Section "Hostovský počítač: SentavoClient a lockgina.dll" SecClient
  SectionIn 1
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "/oname=SentavoClient.exe" "${CLIENT_EXE}"
  File "/oname=lockgina.dll" "${GINA_DLL}"
  File "/oname=sentavo-codes.exe" "${CODES_EXE}"
  ; The client reads Sentavo.cfg beside its program.
  StrCpy $0 "$INSTDIR\Sentavo.cfg"
  Call WriteConfig
  ; The machine policies that empty the Ctrl+Alt+Del screen need administrator rights, which the
  ; guest's own account lacks: put them in force now, while the installer has them.
  System::Call '"$INSTDIR\lockgina.dll"::wlInstallGina() i .r0 ?u'
  ; Started at every sign-in of every user, the guest's included.
  CreateShortcut "$SMSTARTUP\Sentavo Client.lnk" "$INSTDIR\SentavoClient.exe"
  WriteRegDWORD HKLM "${STATE_KEY}" "Client" 1
  Call WriteUninstaller
SectionEnd

Section "Počítač obsluhy: SentavoAdmin" SecAdmin
  SectionIn 2
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "/oname=SentavoAdmin.exe" "${ADMIN_EXE}"
  File "/oname=sentavo-codes.exe" "${CODES_EXE}"
  CreateDirectory "${ADMIN_DATA}"
  StrCpy $0 "${ADMIN_DATA}\Sentavo.cfg"
  ; An operator's own settings and password survive a reinstallation.
  ${IfNot} ${FileExists} "$0"
    Call WriteConfig
  ${EndIf}
  ; The shortcut starts the program in its working folder, where it keeps its files.
  SetOutPath "${ADMIN_DATA}"
  CreateDirectory "$SMPROGRAMS\Sentavo"
  CreateShortcut "$SMPROGRAMS\Sentavo\Sentavo ADMIN.lnk" "$INSTDIR\SentavoAdmin.exe"
  WriteRegDWORD HKLM "${STATE_KEY}" "Admin" 1
  Call WriteUninstaller
SectionEnd

; $0: the Sentavo.cfg to write from $Share and $Provozovna.
Function WriteConfig
  nsExec::ExecToLog '"$INSTDIR\sentavo-codes.exe" config --out "$0" --server-path "$Share" --establishment "$Provozovna"'
  Pop $1
  ${If} $1 != 0
    MessageBox MB_OK|MB_ICONSTOP "Soubor $0 se nepodařilo zapsat. Provozovna i sdílená složka smí obsahovat jen češtinu a západoevropské znaky." /SD IDOK
    SetErrorLevel 2
    Abort
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
  ${If} $Share == ""
    MessageBox MB_OK|MB_ICONEXCLAMATION "Zadejte prosím sdílenou složku."
    Abort
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  ; Lift every block of the library, and the machine policies it put in force, before it goes.
  ${If} ${FileExists} "$INSTDIR\lockgina.dll"
    System::Call '"$INSTDIR\lockgina.dll"::wlRestoreAll() i .r0 ?u'
    System::Call '"$INSTDIR\lockgina.dll"::wlUninstallGina() i .r0 ?u'
  ${EndIf}
  ; The edge-swipe policy goes even when the library is already gone.
  DeleteRegValue HKLM "SOFTWARE\Policies\Microsoft\Windows\EdgeUI" "AllowEdgeSwipe"
  Delete "$SMSTARTUP\Sentavo Client.lnk"
  Delete "$SMPROGRAMS\Sentavo\Sentavo ADMIN.lnk"
  RMDir "$SMPROGRAMS\Sentavo"
  Delete "$INSTDIR\SentavoClient.exe"
  Delete "$INSTDIR\SentavoAdmin.exe"
  Delete "$INSTDIR\lockgina.dll"
  Delete "$INSTDIR\sentavo-codes.exe"
  Delete "$INSTDIR\Sentavo.cfg"
  Delete "$INSTDIR\Sentavo.uid"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ; The operator's working folder holds the list of issued codes: it stays.
  DeleteRegKey HKLM "${STATE_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
