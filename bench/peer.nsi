; The benchmark's peer: the same product tree as an NSIS installer, solid bzip2 or lzma, the
; same layout below the install folder, run silently with /S and /D=FOLDER.
;   makensis -DOUT=FILE [-DTREE=FOLDER] [-DTARGET=x86-unicode|amd64-unicode]
;            [-DCODEC=bzip2|lzma] peer.nsi
; Without TREE it carries no files: the size of NSIS's own machinery. TARGET is the
; architecture of the installer (x86-unicode by default), to match the setup.exe measured;
; CODEC is NSIS's solid compressor (bzip2 by default).
!ifdef TARGET
  Target ${TARGET}
!endif
Name "Trelliq"
OutFile "${OUT}"
!ifndef CODEC
  !define CODEC bzip2
!endif
SetCompressor /SOLID ${CODEC}
InstallDir "$PROGRAMFILES\trelliq"
RequestExecutionLevel admin

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Trelliq"

Section
  SetOutPath "$INSTDIR"
!ifdef TREE
  File /r "${TREE}/*"
  ; The Microsoft family's wrappers, which setup.exe -a installs too.
  CopyFiles /SILENT "$INSTDIR\bin\trqc.exe" "$INSTDIR\bin\cl.exe-"
  CopyFiles /SILENT "$INSTDIR\bin\trqc.exe" "$INSTDIR\bin\link.exe-"
!endif
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Trelliq.lnk" "$INSTDIR\bin\coverageBrowser.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Trelliq"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Trelliq.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  RMDir /r "$INSTDIR"
SectionEnd
