; English: the setup program's and the uninstaller's pages in NSIS's own
; translation, and Vistrane's messages and Add/Remove Programs entry. UTF-8.
!insertmacro MUI_LANGUAGE "English"
; The product's name, the same in every language.
LangString AddRemoveName ${LANG_ENGLISH} "${PRODUCT}"
LangString AddRemoveComments ${LANG_ENGLISH} "Changes the desktop wallpaper at every logon"
LangString WininitUnreadable ${LANG_ENGLISH} "$WINDIR\WININIT.INI could not be read and was left as it was; Windows NT does not use it."
LangString PendingNotCancelled ${LANG_ENGLISH} "Pending deletions left by an earlier uninstallation could not be cancelled (helper: $2)."
LangString RestartThenSetup ${LANG_ENGLISH} "Setup could not cancel the deletion, still pending from an earlier uninstallation, of the files it has just installed. Restart Windows, then run setup again."
LangString RemovalNotScheduled ${LANG_ENGLISH} "Could not schedule the deletion of $INSTDIR\Vistrane.cpl at the next restart."
