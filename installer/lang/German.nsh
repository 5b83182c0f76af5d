; German: the setup program's and the uninstaller's pages in NSIS's own
; translation, and Vistrane's messages and Add/Remove Programs entry. UTF-8.
!insertmacro MUI_LANGUAGE "German"
; The product's name, the same in every language.
LangString AddRemoveName ${LANG_GERMAN} "${PRODUCT}"
LangString AddRemoveComments ${LANG_GERMAN} "Wechselt den Desktophintergrund bei jeder Anmeldung"
LangString WininitUnreadable ${LANG_GERMAN} "$WINDIR\WININIT.INI konnte nicht gelesen werden und wurde nicht verändert; Windows NT verwendet diese Datei nicht."
LangString PendingNotCancelled ${LANG_GERMAN} "Ausstehende Löschvorgänge einer früheren Deinstallation konnten nicht abgebrochen werden (Hilfsprogramm: $2)."
LangString RestartThenSetup ${LANG_GERMAN} "Setup konnte das noch von einer früheren Deinstallation ausstehende Löschen der soeben installierten Dateien nicht abbrechen. Starten Sie Windows neu, und führen Sie Setup dann erneut aus."
LangString RemovalNotScheduled ${LANG_GERMAN} "Das Löschen von $INSTDIR\Vistrane.cpl beim nächsten Neustart konnte nicht geplant werden."
