; The Windows installer: the unpacked zip's folder (STAGE) into Program Files, a Start menu
; entry, and an uninstaller listed in Windows' settings.
; makensis -DSTAGE=folder -DVERSION=x.y.z -DOUT=setup.exe riverduel.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
SetDateSave off
RequestExecutionLevel admin
!include x64.nsh

Name "River Duel"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES64\River Duel"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "River Duel"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "River Duel installer"
VIAddVersionKey "LegalCopyright" "MIT licence"
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!define UNINSTALL "Software\Microsoft\Windows\CurrentVersion\Uninstall\RiverDuel"

Section
    SetRegView 64
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${STAGE}/*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\River Duel.lnk" "$INSTDIR\riverduel.exe" "--comfort"
    WriteRegStr HKLM "${UNINSTALL}" "DisplayName" "River Duel"
    WriteRegStr HKLM "${UNINSTALL}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL}" "DisplayIcon" "$INSTDIR\riverduel.exe"
SectionEnd

Section "Uninstall"
    SetRegView 64
    SetShellVarContext all
    Delete "$SMPROGRAMS\River Duel.lnk"
    RMDir /r "$INSTDIR\bitmaps"
    RMDir /r "$INSTDIR\sound"
    RMDir /r "$INSTDIR\licences"
    Delete "$INSTDIR\riverduel.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL}"
SectionEnd
