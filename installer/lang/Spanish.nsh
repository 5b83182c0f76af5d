; Spanish: the setup program's and the uninstaller's pages in NSIS's own
; translation, and Vistrane's messages and Add/Remove Programs entry. UTF-8.
!insertmacro MUI_LANGUAGE "Spanish"
; The product's name, the same in every language.
LangString AddRemoveName ${LANG_SPANISH} "${PRODUCT}"
LangString AddRemoveComments ${LANG_SPANISH} "Cambia el fondo de escritorio en cada inicio de sesión"
LangString WininitUnreadable ${LANG_SPANISH} "No se pudo leer $WINDIR\WININIT.INI y se dejó tal como estaba; Windows NT no lo usa."
LangString PendingNotCancelled ${LANG_SPANISH} "No se pudieron cancelar las eliminaciones pendientes de una desinstalación anterior (programa auxiliar: $2)."
LangString RestartThenSetup ${LANG_SPANISH} "El programa de instalación no pudo cancelar la eliminación, aún pendiente de una desinstalación anterior, de los archivos que acaba de instalar. Reinicie Windows y vuelva a ejecutar el programa de instalación."
LangString RemovalNotScheduled ${LANG_SPANISH} "No se pudo programar la eliminación de $INSTDIR\Vistrane.cpl en el próximo reinicio."
