; Simplified Chinese: the setup program's and the uninstaller's pages in NSIS's own
; translation, and Vistrane's messages and Add/Remove Programs entry. UTF-8.
!insertmacro MUI_LANGUAGE "SimpChinese"
; The product's name, the same in every language.
LangString AddRemoveName ${LANG_SIMPCHINESE} "${PRODUCT}"
LangString AddRemoveComments ${LANG_SIMPCHINESE} "每次登录时更换桌面背景"
LangString WininitUnreadable ${LANG_SIMPCHINESE} "无法读取 $WINDIR\WININIT.INI，已保持原样；Windows NT 不使用此文件。"
LangString PendingNotCancelled ${LANG_SIMPCHINESE} "无法取消之前卸载遗留的待删除操作（帮助程序：$2）。"
LangString RestartThenSetup ${LANG_SIMPCHINESE} "安装程序无法取消之前卸载遗留的、对刚安装文件的待定删除。请重新启动 Windows，然后再次运行安装程序。"
LangString RemovalNotScheduled ${LANG_SIMPCHINESE} "无法安排在下次重新启动时删除 $INSTDIR\Vistrane.cpl。"
