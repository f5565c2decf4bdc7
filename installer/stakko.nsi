; Per-user installer: the program goes into the player's own programs folder, where the
; records file beside it stays writable without administrator rights.
; makensis -DSOURCE=<installation folder> -DOUTFILE=<installer.exe> stakko.nsi
Target amd64-unicode ; the program is 64-bit, and so Wine without its 32-bit part runs it too
Name "Stakko"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Stakko"
SetCompressor /SOLID lzma
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Stakko"

Section "Stakko"
    SetOutPath "$INSTDIR"
    File /r "${SOURCE}\*.*"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    ; The program finds its files relative to the folder it starts in.
    CreateShortCut "$SMPROGRAMS\Stakko.lnk" "$INSTDIR\KIVO_Stakko.exe" "" "$INSTDIR\KIVO_Stakko.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Stakko"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The player's records file stays unless the player removes the folder.
Section "Uninstall"
    Delete "$SMPROGRAMS\Stakko.lnk"
    RMDir /r "$INSTDIR\Images"
    RMDir /r "$INSTDIR\WAVs"
    RMDir /r "$INSTDIR\runtime"
    Delete "$INSTDIR\KIVO_Stakko.exe"
    Delete "$INSTDIR\stakko.uir"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
