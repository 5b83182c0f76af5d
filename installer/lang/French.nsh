; French: the setup program's and the uninstaller's pages in NSIS's own
; translation, and Vistrane's messages and Add/Remove Programs entry. UTF-8.
!insertmacro MUI_LANGUAGE "French"
; The product's name, the same in every language.
LangString AddRemoveName ${LANG_FRENCH} "${PRODUCT}"
LangString AddRemoveComments ${LANG_FRENCH} "Change l'arrière-plan du Bureau à chaque ouverture de session"
LangString WininitUnreadable ${LANG_FRENCH} "$WINDIR\WININIT.INI n'a pas pu être lu et a été laissé tel quel ; Windows NT ne l'utilise pas."
LangString PendingNotCancelled ${LANG_FRENCH} "Les suppressions en attente laissées par une désinstallation précédente n'ont pas pu être annulées (programme d'aide : $2)."
LangString RestartThenSetup ${LANG_FRENCH} "Le programme d'installation n'a pas pu annuler la suppression des fichiers qu'il vient d'installer, encore en attente depuis une désinstallation précédente. Redémarrez Windows, puis relancez le programme d'installation."
LangString RemovalNotScheduled ${LANG_FRENCH} "Impossible de planifier la suppression de $INSTDIR\Vistrane.cpl au prochain redémarrage."
