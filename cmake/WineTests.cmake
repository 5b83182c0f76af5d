# Tests run under Wine in the build's own prefixes, never the user's: each
# test twice, in a 32-bit prefix as on 32-bit Windows and in a 64-bit one
# where it runs under WoW64 as on every current PC. The prefixes are made and
# their wineservers kept alive by scripts/run-tests.sh.
set(VISTRANE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "32-bit Wine prefix the tests run in")
set(VISTRANE_WINEPREFIX64 ${CMAKE_BINARY_DIR}/wineprefix64 CACHE PATH "64-bit Wine prefix the tests run in")

# CTest names each run <kind>/<program>, so a failure names its prefix.
set(VISTRANE_WINE_KINDS win32 wow64)
set(VISTRANE_WINE_win32 WINEPREFIX=${VISTRANE_WINEPREFIX} WINEARCH=win32)
set(VISTRANE_WINE_wow64 WINEPREFIX=${VISTRANE_WINEPREFIX64} WINEARCH=win64)
set(VISTRANE_WINE_ENVIRONMENT
    WINEDEBUG=-all
    # No Mono or Gecko: Wine would otherwise offer to install them.
    WINEDLLOVERRIDES=mscoree,mshtml=)

# add_wine_test(<target> [args...]): one CTest entry per kind of prefix
# running the program. Tests of one prefix share its registry and files, so
# they take turns; the two prefixes are independent and may run side by side.
function(add_wine_test target)
    foreach(kind ${VISTRANE_WINE_KINDS})
        add_test(NAME ${kind}/${target} COMMAND ${target} ${ARGN})
        set_tests_properties(${kind}/${target} PROPERTIES
            ENVIRONMENT "${VISTRANE_WINE_${kind}};${VISTRANE_WINE_ENVIRONMENT}"
            RESOURCE_LOCK ${kind}
            TIMEOUT 900)
    endforeach()
    set_property(GLOBAL APPEND PROPERTY VISTRANE_WINE_TESTS ${target})
endfunction()

# wine_test_runs_last(<target>): in each prefix, the test starts only once
# every other test of that prefix has ended (whatever their outcome).
function(wine_test_runs_last target)
    get_property(targets GLOBAL PROPERTY VISTRANE_WINE_TESTS)
    list(REMOVE_ITEM targets ${target})
    foreach(kind ${VISTRANE_WINE_KINDS})
        list(TRANSFORM targets PREPEND ${kind}/ OUTPUT_VARIABLE earlier)
        set_tests_properties(${kind}/${target} PROPERTIES DEPENDS "${earlier}")
    endforeach()
endfunction()
