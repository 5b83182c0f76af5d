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
# The copies the tests under several monitors run in.
set(VISTRANE_WINE_MONITOR_PREFIX_win32 ${VISTRANE_WINEPREFIX}-monitors)
set(VISTRANE_WINE_MONITOR_PREFIX_wow64 ${VISTRANE_WINEPREFIX64}-monitors)
set(VISTRANE_WINE_ENVIRONMENT
    WINEDEBUG=-all
    # No Mono or Gecko: Wine would otherwise offer to install them.
    WINEDLLOVERRIDES=mscoree,mshtml=)

# Wine takes the user interface language from the locale (LC_ALL, else
# LANG): each entry names its own, so the developer's does not count.
# _add_wine_runs(<name> <locale> <target> [args...]): <kind>/<name> in each
# kind of prefix. Tests of one prefix share its registry and files, so they
# take turns; the two prefixes are independent and may run side by side.
function(_add_wine_runs name locale target)
    foreach(kind ${VISTRANE_WINE_KINDS})
        add_test(NAME ${kind}/${name} COMMAND ${target} ${ARGN})
        set_tests_properties(${kind}/${name} PROPERTIES
            ENVIRONMENT "${VISTRANE_WINE_${kind}};${VISTRANE_WINE_ENVIRONMENT};LANG=${locale};LC_ALL=${locale}"
            RESOURCE_LOCK ${kind}
            TIMEOUT 900)
    endforeach()
    set_property(GLOBAL APPEND PROPERTY VISTRANE_WINE_TESTS ${name})
endfunction()

# add_wine_test(<target> [args...]): the program, in English.
function(add_wine_test target)
    _add_wine_runs(${target} C.UTF-8 ${target} ${ARGN})
endfunction()

# add_wine_test_in_languages(<target> <gtest filter> <locale>...): the
# program's tests that match the filter once more in each user interface
# language, as <kind>/<target>/<locale> (de_DE: <kind>/applet_tests/de_DE).
function(add_wine_test_in_languages target filter)
    foreach(locale ${ARGN})
        _add_wine_runs(${target}/${locale} ${locale}.UTF-8 ${target} --gtest_filter=${filter})
    endforeach()
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

# add_wine_monitor_test(<target> <name> <monitor>...): the program under a
# layout of several monitors, as <kind>/<target>/<name> in each kind of
# prefix. Monitors are "WxH+X+Y" in Windows' coordinates, the primary first
# at +0+0; the program finds them in VISTRANE_MONITORS. Each runs in a copy of
# its kind's prefix on Wine's X11 driver (made by scripts/run-tests.sh), with
# a display server and a wineserver of its own (scripts/monitor-test.sh), so
# the other tests keep their one monitor. The entries of one copy take turns.
function(add_wine_monitor_test target name)
    string(REPLACE ";" " " layout "${ARGN}")
    foreach(kind ${VISTRANE_WINE_KINDS})
        add_test(NAME ${kind}/${target}/${name}
                 COMMAND ${PROJECT_SOURCE_DIR}/scripts/monitor-test.sh ${VISTRANE_WINE_MONITOR_PREFIX_${kind}}
                         $<TARGET_FILE:${target}>)
        set_tests_properties(${kind}/${target}/${name} PROPERTIES
            ENVIRONMENT "${VISTRANE_WINE_ENVIRONMENT};LANG=C.UTF-8;LC_ALL=C.UTF-8;VISTRANE_MONITORS=${layout};BUILD_DIR=${CMAKE_BINARY_DIR}"
            LABELS monitors
            RESOURCE_LOCK ${kind}-monitors
            TIMEOUT 900)
    endforeach()
endfunction()
