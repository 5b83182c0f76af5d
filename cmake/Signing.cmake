# Signed builds: when the publisher names an Authenticode code-signing
# certificate, the shipped libraries and the setup helper are signed before
# the setup program packs them, and makensis signs the uninstaller and the
# setup program itself (installer/Vistrane.nsi). Without one the build is
# unsigned. scripts/sign-file.sh does the signing, with SHA-256.
set(VISTRANE_SIGN_CERT "" CACHE FILEPATH
    "PKCS#12 file with the publisher's code-signing certificate and key; empty: unsigned build")
set(VISTRANE_SIGN_PASSWORD_FILE "" CACHE FILEPATH "File holding the PKCS#12 file's password")
set(VISTRANE_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamp server; empty: no time stamp")

set(VISTRANE_SIGN_SCRIPT ${PROJECT_SOURCE_DIR}/scripts/sign-file.sh)
# What a rule runs the signing script or makensis under: the certificate's
# paths in the environment, where neither a command line nor a log shows them.
set(VISTRANE_SIGN_ENV "")
set(signing_description "unsigned")
if(VISTRANE_SIGN_CERT)
    find_program(OSSLSIGNCODE osslsigncode REQUIRED)
    if(NOT VISTRANE_SIGN_PASSWORD_FILE)
        message(FATAL_ERROR "VISTRANE_SIGN_CERT needs VISTRANE_SIGN_PASSWORD_FILE, the file holding its password")
    endif()
    # Paths given relative to the folder make was started in.
    file(REAL_PATH "${VISTRANE_SIGN_CERT}" sign_cert BASE_DIRECTORY ${PROJECT_SOURCE_DIR})
    file(REAL_PATH "${VISTRANE_SIGN_PASSWORD_FILE}" sign_password BASE_DIRECTORY ${PROJECT_SOURCE_DIR})
    foreach(file "${sign_cert}" "${sign_password}")
        if(NOT EXISTS "${file}")
            message(FATAL_ERROR "Signing: ${file} does not exist")
        endif()
    endforeach()
    set(VISTRANE_SIGN_ENV ${CMAKE_COMMAND} -E env
        "VISTRANE_SIGN_CERT=${sign_cert}"
        "VISTRANE_SIGN_PASSWORD_FILE=${sign_password}"
        "VISTRANE_TIMESTAMP_URL=${VISTRANE_TIMESTAMP_URL}")
    file(SHA256 "${sign_cert}" cert_hash)
    set(signing_description "signed with ${sign_cert} (${cert_hash}), time stamp: ${VISTRANE_TIMESTAMP_URL}")
endif()
# Written only when it changes; the signed files depend on it for linking, so
# a change of certificate, or from signed to unsigned, links them anew.
set(VISTRANE_SIGNING_CONFIG ${CMAKE_BINARY_DIR}/signing.txt)
file(CONFIGURE OUTPUT ${VISTRANE_SIGNING_CONFIG} CONTENT "${signing_description}\n")

# vistrane_signed_files(<variable> <target>...): signs each target's file in
# place once it is linked, and sets <variable> to what a rule that packs the
# files depends on: the signatures' stamps, or in an unsigned build the
# targets themselves.
function(vistrane_signed_files variable)
    set(ready "")
    foreach(target ${ARGN})
        if(VISTRANE_SIGN_CERT)
            set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.signed)
            add_custom_command(OUTPUT ${stamp}
                COMMAND ${VISTRANE_SIGN_ENV} ${VISTRANE_SIGN_SCRIPT} $<TARGET_FILE:${target}>
                COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
                DEPENDS ${target}
                COMMENT "Signing ${target}"
                VERBATIM)
            list(APPEND ready ${stamp})
        else()
            list(APPEND ready ${target})
        endif()
    endforeach()
    set(${variable} ${ready} PARENT_SCOPE)
endfunction()
