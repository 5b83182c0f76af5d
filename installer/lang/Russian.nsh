; Russian: the setup program's and the uninstaller's pages in NSIS's own
; translation, and Vistrane's messages and Add/Remove Programs entry. UTF-8.
!insertmacro MUI_LANGUAGE "Russian"
; The product's name, the same in every language.
LangString AddRemoveName ${LANG_RUSSIAN} "${PRODUCT}"
LangString AddRemoveComments ${LANG_RUSSIAN} "Меняет фоновый рисунок рабочего стола при каждом входе в систему"
LangString WininitUnreadable ${LANG_RUSSIAN} "Не удалось прочитать $WINDIR\WININIT.INI; файл оставлен без изменений. Windows NT его не использует."
LangString PendingNotCancelled ${LANG_RUSSIAN} "Не удалось отменить отложенные удаления, оставшиеся после предыдущего удаления программы (вспомогательная программа: $2)."
LangString RestartThenSetup ${LANG_RUSSIAN} "Программе установки не удалось отменить удаление только что установленных файлов, ещё ожидающее после предыдущего удаления программы. Перезагрузите Windows, затем снова запустите программу установки."
LangString RemovalNotScheduled ${LANG_RUSSIAN} "Не удалось запланировать удаление $INSTDIR\Vistrane.cpl при следующей перезагрузке."
