# Tests run under Wine in the build's own prefix, never the user's. The prefix
# is made and its wineserver kept alive by scripts/run-tests.sh.
set(VISTRANE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix the tests run in")

set(VISTRANE_WINE_ENVIRONMENT
    WINEPREFIX=${VISTRANE_WINEPREFIX}
    WINEARCH=win32
    WINEDEBUG=-all
    # No Mono or Gecko: Wine would otherwise offer to install them.
    WINEDLLOVERRIDES=mscoree,mshtml=)

# add_wine_test(<target> [args...]): one CTest entry running the program.
function(add_wine_test target)
    add_test(NAME ${target} COMMAND ${target} ${ARGN})
    set_tests_properties(${target} PROPERTIES ENVIRONMENT "${VISTRANE_WINE_ENVIRONMENT}" TIMEOUT 900)
endfunction()
