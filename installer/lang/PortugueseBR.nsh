; Portuguese (Brazil): the setup program's and the uninstaller's pages in NSIS's own
; translation, and Vistrane's messages and Add/Remove Programs entry. UTF-8.
!insertmacro MUI_LANGUAGE "PortugueseBR"
; The product's name, the same in every language.
LangString AddRemoveName ${LANG_PORTUGUESEBR} "${PRODUCT}"
LangString AddRemoveComments ${LANG_PORTUGUESEBR} "Troca a tela de fundo da área de trabalho a cada logon"
LangString WininitUnreadable ${LANG_PORTUGUESEBR} "Não foi possível ler $WINDIR\WININIT.INI, que foi mantido como estava; o Windows NT não o utiliza."
LangString PendingNotCancelled ${LANG_PORTUGUESEBR} "Não foi possível cancelar as exclusões pendentes deixadas por uma desinstalação anterior (auxiliar: $2)."
LangString RestartThenSetup ${LANG_PORTUGUESEBR} "A Instalação não pôde cancelar a exclusão, ainda pendente de uma desinstalação anterior, dos arquivos que acabou de instalar. Reinicie o Windows e execute a Instalação novamente."
LangString RemovalNotScheduled ${LANG_PORTUGUESEBR} "Não foi possível agendar a exclusão de $INSTDIR\Vistrane.cpl para a próxima reinicialização."
