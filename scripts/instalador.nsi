; The Windows setup, made by scripts/windows.sh with Debian's makensis:
;   makensis -DVERSAO=1.0.0 -DPASTA=<folder to install> -DSAIDA=<setup.exe> -DDESINSTALAR=<list>
; Installs the folder into Program Files with an uninstaller; /S installs (and uninstalls) silently.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

!define NOME "relenderecamento"
!define TITULO "Relatório de Endereçamento de Produto"
!define CHAVE_DESINSTALAR "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NOME}"

Name "${TITULO} ${VERSAO}"
OutFile "${SAIDA}"
InstallDir "$PROGRAMFILES64\${NOME}"
InstallDirRegKey HKLM "${CHAVE_DESINSTALAR}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "PortugueseBR"

; No Start-menu entry: the program is started by the host application with its eight arguments
; (connection, login, company); started alone it could only show the error of missing arguments.
Section "Programa"
  SetShellVarContext all
  SetRegView 64
  SetOutPath "$INSTDIR"
  File /r "${PASTA}/*"
  WriteUninstaller "$INSTDIR\desinstalar.exe"
  WriteRegStr HKLM "${CHAVE_DESINSTALAR}" "DisplayName" "${TITULO}"
  WriteRegStr HKLM "${CHAVE_DESINSTALAR}" "DisplayVersion" "${VERSAO}"
  WriteRegStr HKLM "${CHAVE_DESINSTALAR}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${CHAVE_DESINSTALAR}" "DisplayIcon" "$INSTDIR\relenderecamento.exe"
  WriteRegStr HKLM "${CHAVE_DESINSTALAR}" "UninstallString" '"$INSTDIR\desinstalar.exe"'
  WriteRegStr HKLM "${CHAVE_DESINSTALAR}" "QuietUninstallString" '"$INSTDIR\desinstalar.exe" /S'
  WriteRegDWORD HKLM "${CHAVE_DESINSTALAR}" "NoModify" 1
  WriteRegDWORD HKLM "${CHAVE_DESINSTALAR}" "NoRepair" 1
SectionEnd

; Removes what the setup installed, file by file: a folder chosen by hand (say, one that already
; held other files) keeps everything else.
Section "Uninstall"
  SetShellVarContext all
  SetRegView 64
!include "${DESINSTALAR}"
  Delete "$INSTDIR\desinstalar.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${CHAVE_DESINSTALAR}"
SectionEnd
