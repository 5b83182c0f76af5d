; Dutch: the setup program's and the uninstaller's pages in NSIS's own
; translation, and Vistrane's messages and Add/Remove Programs entry. UTF-8.
!insertmacro MUI_LANGUAGE "Dutch"
; The product's name, the same in every language.
LangString AddRemoveName ${LANG_DUTCH} "${PRODUCT}"
LangString AddRemoveComments ${LANG_DUTCH} "Wisselt de bureaubladachtergrond bij elke aanmelding"
LangString WininitUnreadable ${LANG_DUTCH} "$WINDIR\WININIT.INI kan niet worden gelezen en is ongewijzigd gelaten; Windows NT gebruikt dit bestand niet."
LangString PendingNotCancelled ${LANG_DUTCH} "Geplande verwijderingen van bestanden, achtergelaten door een eerdere verwijdering van het programma, kunnen niet worden geannuleerd (hulpprogramma: $2)."
LangString RestartThenSetup ${LANG_DUTCH} "Setup kan het verwijderen van de zojuist geïnstalleerde bestanden, dat nog gepland staat sinds een eerdere verwijdering van het programma, niet annuleren. Start Windows opnieuw op en voer Setup daarna nogmaals uit."
LangString RemovalNotScheduled ${LANG_DUTCH} "Het verwijderen van $INSTDIR\Vistrane.cpl bij de volgende keer opstarten kan niet worden gepland."
