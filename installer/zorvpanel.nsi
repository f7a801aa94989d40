; The ZorvPanel installer, built by scripts/make-release.sh with NSIS:
;   makensis -DVERSION=<text> -DFILEVERSION=<a.b.c.0> -DSTAGE=<program folder> -DOUTFILE=<exe>
; It installs for the user who runs it (no administrator rights), with a
; Start-menu entry and, when chosen, a shortcut in the user's Startup folder.
; The uninstaller leaves the configuration (ZorvPanel.ini, its backup, the
; cached pictures and the icon folder) unless the user ticks it.
; The program is 64-bit, and so is its installer.
Target amd64-unicode
!include "MUI2.nsh"

!ifndef VERSION
  !define VERSION "0.0.0-dev"
!endif
!ifndef FILEVERSION
  !define FILEVERSION "0.0.0.0"
!endif
!ifndef STAGE
  !error "STAGE (the staged program folder) must be given"
!endif
!ifndef OUTFILE
  !define OUTFILE "ZorvPanel-${VERSION}-setup.exe"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZorvPanel"

Name "ZorvPanel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\ZorvPanel"
InstallDirRegKey HKCU "Software\ZorvPanel" "InstallDir"
RequestExecutionLevel user
SetCompressor /SOLID lzma

VIProductVersion "${FILEVERSION}"
VIAddVersionKey "ProductName" "ZorvPanel"
VIAddVersionKey "FileDescription" "ZorvPanel setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "the ZorvPanel developers"

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

Section "ZorvPanel" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateDirectory "$SMPROGRAMS\ZorvPanel"
  CreateShortcut "$SMPROGRAMS\ZorvPanel\ZorvPanel.lnk" "$INSTDIR\ZorvPanel.exe"
  CreateShortcut "$SMPROGRAMS\ZorvPanel\Uninstall ZorvPanel.lnk" "$INSTDIR\Uninstall.exe"
  WriteRegStr HKCU "Software\ZorvPanel" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "ZorvPanel"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ZorvPanel.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Start with Windows" SecStartup
  CreateShortcut "$SMSTARTUP\ZorvPanel.lnk" "$INSTDIR\ZorvPanel.exe"
SectionEnd

Section "un.ZorvPanel" UnProgram
  SectionIn RO
  ; A running bar keeps its files: it is asked to close first (its autoclose runs).
  FindWindow $0 "ZorvBar" "Zorv"
  StrCmp $0 0 +3
    SendMessage $0 ${WM_CLOSE} 0x01010101 0 /TIMEOUT=10000
    Sleep 1000
  Delete "$INSTDIR\ZorvPanel.exe"
  Delete "$INSTDIR\Zorv.dll"
  Delete "$INSTDIR\ZorvPanel.sample.ini"
  Delete "$INSTDIR\Readme.txt"
  RMDir /r "$INSTDIR\Help"
  RMDir /r "$INSTDIR\Licenses"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir /r "$SMPROGRAMS\ZorvPanel"
  Delete "$SMSTARTUP\ZorvPanel.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\ZorvPanel"
  RMDir "$INSTDIR\Icons"
  RMDir "$INSTDIR"
SectionEnd

Section /o "un.Your configuration and icons" UnConfiguration
  Delete "$INSTDIR\ZorvPanel.ini"
  Delete "$INSTDIR\ZorvPanel-bak.ini"
  Delete "$INSTDIR\ZorvPanel*.bmp"
  Delete "$INSTDIR\zorv.ini"
  Delete "$INSTDIR\zorv.log"
  RMDir /r "$INSTDIR\Icons"
  Delete "$APPDATA\Zorv\ZorvPanel.ini"
  Delete "$APPDATA\Zorv\ZorvPanel-bak.ini"
  RMDir "$APPDATA\Zorv"
  RMDir "$INSTDIR"
SectionEnd
