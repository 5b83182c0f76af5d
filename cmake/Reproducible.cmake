# Every build of one commit makes byte-identical shipped files, in any folder
# and at any time, so that anyone can check that a published file was built
# from this source.
#
# The one time the linked files hold, the PE header's time stamp, is the
# commit's, by the SOURCE_DATE_EPOCH convention: the variable when set (a
# build from a copy without git history), else the commit's time from git.
# GNU ld stamps a PE file with SOURCE_DATE_EPOCH when it is set, and with the
# time of linking otherwise.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(VISTRANE_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
    execute_process(COMMAND git log -1 --format=%ct
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE VISTRANE_SOURCE_DATE_EPOCH
        OUTPUT_STRIP_TRAILING_WHITESPACE
        ERROR_QUIET)
endif()
if(NOT VISTRANE_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    message(WARNING "Neither SOURCE_DATE_EPOCH nor the commit's time is known: "
                    "the shipped files carry no time stamp (0)")
    set(VISTRANE_SOURCE_DATE_EPOCH 0)
endif()
foreach(lang C CXX)
    set(CMAKE_${lang}_LINKER_LAUNCHER
        ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${VISTRANE_SOURCE_DATE_EPOCH})
endforeach()

# No folder's path in what the compiler writes (__FILE__ in assertions): the
# build folder is mapped last, as the later map wins where both match.
add_compile_options(
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>")
