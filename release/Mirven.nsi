; The setup program of Mirven电脑助手: a per-user install that needs no
; administrator, in Simplified Chinese. scripts/make_release.py compiles it
; with these defines:
;   VERSION    "3.0"
;   OUTFILE    the setup program to write
;   ICON       the program's icon (icon 128 of Mirven.exe)
;   FILES_NSH  the generated macros that install and remove the release files
;   WIZARD_BMP the picture beside the welcome and finish pages
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
XPStyle on

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include "${FILES_NSH}"

!define PRODUCT "Mirven电脑助手"
!define PUBLISHER "Mirven"
!define UNINSTALLER "Uninstall.exe"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Mirven"
; where the program writes its carried calculator and clock
!define CARRIED_DIR "$LOCALAPPDATA\Mirven"
; the files it writes there (and a half-written copy of each, ".new")
!macro MIRVEN_REMOVE_CARRIED dir
  Delete "${dir}\calculator.exe"
  Delete "${dir}\calculator.exe.new"
  Delete "${dir}\Clock.exe"
  Delete "${dir}\Clock.exe.new"
!macroend

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Mirven"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} ${VERSION} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}.0.0"
VIAddVersionKey /LANG=2052 "LegalCopyright" "(C) ${PUBLISHER}. 保留所有权利。"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD_BMP}"
!define MUI_WELCOMEPAGE_TEXT "此程序将引导你完成 ${PRODUCT} ${VERSION} 的安装。$\r$\n$\r$\n${PRODUCT} 只为当前用户安装，不需要管理员权限。如果它正在运行，请先关闭它。$\r$\n$\r$\n点击 [下一步(N)] 继续。"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "运行 ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION RunProgram

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; Files in use cannot be replaced or removed: a running copy is found by its
; main window, or by its program file refusing to open for writing. The user
; closes it and retries; a silent run ends with exit code 3 instead.
!macro MIRVEN_WAIT_UNTIL_CLOSED UN ACTION
Function ${UN}WaitUntilClosed
  retry:
    FindWindow $0 "#32770" "${PRODUCT}"
    ${If} $0 == 0
      ${IfNot} ${FileExists} "$INSTDIR\Mirven.exe"
        Return
      ${EndIf}
      ClearErrors
      FileOpen $1 "$INSTDIR\Mirven.exe" a
      ${IfNot} ${Errors}
        FileClose $1
        Return
      ${EndIf}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${PRODUCT} 正在运行。$\r$\n请先关闭它，然后点击“重试”继续${ACTION}；点击“取消”退出${ACTION}。" \
      /SD IDCANCEL IDRETRY retry
    SetErrorLevel 3
    Quit
FunctionEnd
!macroend
!insertmacro MIRVEN_WAIT_UNTIL_CLOSED "" "安装"
!insertmacro MIRVEN_WAIT_UNTIL_CLOSED "un." "卸载"

Section "${PRODUCT}（必需）" SecProgram
  SectionIn RO
  SetShellVarContext current
  Call WaitUntilClosed

  ; An earlier installation, here or elsewhere, is removed by its own
  ; uninstaller, which knows exactly the files it put there.
  ReadRegStr $0 HKCU "${UNINST_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\${UNINSTALLER}"
    ClearErrors
    ExecWait '"$0\${UNINSTALLER}" /S _?=$0' $1
    ${If} ${Errors}
    ${OrIf} $1 != 0
      MessageBox MB_OK|MB_ICONSTOP "无法卸载旧版本（$0）。请先关闭 ${PRODUCT}，再重新运行安装程序。" /SD IDOK
      SetErrorLevel 4
      Quit
    ${EndIf}
    Delete "$0\${UNINSTALLER}"
    RMDir "$0"
  ${EndIf}
  ; and a copy put here without the installer loses exactly the files we ship
  !insertmacro MIRVEN_REMOVE_FILES

  ClearErrors
  !insertmacro MIRVEN_INSTALL_FILES
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "无法写入文件夹 $INSTDIR。请选择另一个文件夹后重试。" /SD IDOK
    SetErrorLevel 5
    Quit
  ${EndIf}

  ; shortcuts start the program in its own folder, where it finds its music
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Mirven.exe" "" "$INSTDIR\Mirven.exe" 0

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Mirven.exe,0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Section "桌面快捷方式" SecDesktop
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\Mirven.exe" "" "$INSTDIR\Mirven.exe" 0
SectionEnd

Function RunProgram
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\Mirven.exe"'
FunctionEnd

; Removes, by name, what the installer put there and the programs that
; Mirven.exe carries and writes out; a folder goes only when it is empty
; then. Anything else of the user's stays, and so does its folder. A
; carried-programs folder that is a junction or link is left alone: its
; files lie elsewhere.
Section "Uninstall"
  SetShellVarContext current
  Call un.WaitUntilClosed
  !insertmacro MIRVEN_REMOVE_FILES
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$DESKTOP\${PRODUCT}.lnk"
  ${If} $LOCALAPPDATA != ""
    ${GetFileAttributes} "${CARRIED_DIR}" "REPARSE_POINT" $0
    ${If} $0 != 1
      !insertmacro MIRVEN_REMOVE_CARRIED "${CARRIED_DIR}"
      RMDir "${CARRIED_DIR}"
    ${EndIf}
  ${EndIf}
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
