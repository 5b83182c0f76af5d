; Italian: the setup program's and the uninstaller's pages in NSIS's own
; translation, and Vistrane's messages and Add/Remove Programs entry. UTF-8.
!insertmacro MUI_LANGUAGE "Italian"
; The product's name, the same in every language.
LangString AddRemoveName ${LANG_ITALIAN} "${PRODUCT}"
LangString AddRemoveComments ${LANG_ITALIAN} "Cambia lo sfondo del desktop a ogni accesso"
LangString WininitUnreadable ${LANG_ITALIAN} "Impossibile leggere $WINDIR\WININIT.INI, che è stato lasciato invariato; Windows NT non lo utilizza."
LangString PendingNotCancelled ${LANG_ITALIAN} "Impossibile annullare le eliminazioni in sospeso lasciate da una disinstallazione precedente (programma di supporto: $2)."
LangString RestartThenSetup ${LANG_ITALIAN} "Il programma di installazione non è riuscito ad annullare l'eliminazione, ancora in sospeso da una disinstallazione precedente, dei file appena installati. Riavvia Windows, quindi esegui di nuovo il programma di installazione."
LangString RemovalNotScheduled ${LANG_ITALIAN} "Impossibile pianificare l'eliminazione di $INSTDIR\Vistrane.cpl al prossimo riavvio."
