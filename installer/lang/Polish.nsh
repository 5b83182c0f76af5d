; Polish: the setup program's and the uninstaller's pages in NSIS's own
; translation, and Vistrane's messages and Add/Remove Programs entry. UTF-8.
!insertmacro MUI_LANGUAGE "Polish"
; The product's name, the same in every language.
LangString AddRemoveName ${LANG_POLISH} "${PRODUCT}"
LangString AddRemoveComments ${LANG_POLISH} "Zmienia tło pulpitu przy każdym logowaniu"
LangString WininitUnreadable ${LANG_POLISH} "Nie można odczytać pliku $WINDIR\WININIT.INI; pozostawiono go bez zmian. System Windows NT nie używa tego pliku."
LangString PendingNotCancelled ${LANG_POLISH} "Nie można anulować oczekujących usunięć pozostawionych przez wcześniejszą dezinstalację (program pomocniczy: $2)."
LangString RestartThenSetup ${LANG_POLISH} "Instalator nie mógł anulować oczekującego od wcześniejszej dezinstalacji usunięcia właśnie zainstalowanych plików. Uruchom ponownie system Windows, a następnie ponownie uruchom instalatora."
LangString RemovalNotScheduled ${LANG_POLISH} "Nie można zaplanować usunięcia pliku $INSTDIR\Vistrane.cpl przy następnym ponownym uruchomieniu."
