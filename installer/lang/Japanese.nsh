; Japanese: the setup program's and the uninstaller's pages in NSIS's own
; translation, and Vistrane's messages and Add/Remove Programs entry. UTF-8.
!insertmacro MUI_LANGUAGE "Japanese"
; The product's name, the same in every language.
LangString AddRemoveName ${LANG_JAPANESE} "${PRODUCT}"
LangString AddRemoveComments ${LANG_JAPANESE} "ログオンするたびにデスクトップの背景を変更します"
LangString WininitUnreadable ${LANG_JAPANESE} "$WINDIR\WININIT.INI を読み取れなかったため、変更せずに残しました。Windows NT はこのファイルを使用しません。"
LangString PendingNotCancelled ${LANG_JAPANESE} "以前のアンインストールで残された保留中の削除を取り消せませんでした (ヘルパー: $2)。"
LangString RestartThenSetup ${LANG_JAPANESE} "以前のアンインストールによる、インストールしたばかりのファイルの削除がまだ保留中で、セットアップはそれを取り消せませんでした。Windows を再起動してから、もう一度セットアップを実行してください。"
LangString RemovalNotScheduled ${LANG_JAPANESE} "次回の再起動時に $INSTDIR\Vistrane.cpl を削除するよう設定できませんでした。"
