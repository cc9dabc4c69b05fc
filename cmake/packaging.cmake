# The delivery of the Windows builds: an installer (dictionary-setup.exe, made by NSIS)
# and a portable zip (dictionary-portable.zip), both in the build directory and both part
# of the normal build when makensis and zip are there (tools/deps.sh installs them).
if(NOT WIN32)
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(dict_arch win64)
else()
  set(dict_arch win32)
endif()

find_program(MAKENSIS makensis)
find_program(ZIP zip)

# Everything in data/ is shipped, so a new file there makes both again.
# A run of the program in data/ leaves its backups there; they are the runner's, not shipped.
file(GLOB_RECURSE dict_data_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*)
list(FILTER dict_data_files EXCLUDE REGEX "/data/backups/")

set(dict_setup ${CMAKE_BINARY_DIR}/dictionary-setup.exe)
set(dict_nsi ${CMAKE_SOURCE_DIR}/installer/dictionary.nsi)
if(MAKENSIS)
  add_custom_command(OUTPUT ${dict_setup}
    COMMAND ${MAKENSIS} -V2 -WX -INPUTCHARSET UTF8
            -DARCH=${dict_arch}
            -DPROGRAM=$<TARGET_FILE:dictionary>
            -DWORDLIST=$<TARGET_FILE:wordlist>
            -DDATA=${CMAKE_SOURCE_DIR}/data
            -DICON=${CMAKE_SOURCE_DIR}/res/gloskicon.ico
            -DOUTFILE=${dict_setup}
            ${dict_nsi}
    DEPENDS dictionary wordlist ${dict_nsi} ${CMAKE_SOURCE_DIR}/res/gloskicon.ico ${dict_data_files}
    COMMENT "Making the installer dictionary-setup.exe"
    VERBATIM)
  add_custom_target(installer ALL DEPENDS ${dict_setup})
else()
  add_custom_target(installer
    COMMAND ${CMAKE_COMMAND} -E echo "makensis was not found: install Debian's nsis (tools/deps.sh)"
    COMMAND ${CMAKE_COMMAND} -E false)
endif()

# The program sits inside its working directory, so it finds its files wherever the folder
# is unpacked and started from.
set(dict_portable ${CMAKE_BINARY_DIR}/dictionary-portable.zip)
set(dict_stage ${CMAKE_BINARY_DIR}/portable)
if(ZIP)
  add_custom_command(OUTPUT ${dict_portable}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${dict_stage} ${dict_portable}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data ${dict_stage}/Dictionary
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${dict_stage}/Dictionary/backups
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:dictionary> $<TARGET_FILE:wordlist> ${dict_stage}/Dictionary
    COMMAND ${CMAKE_COMMAND} -E chdir ${dict_stage} ${ZIP} -q -r -X -9 ${dict_portable} Dictionary
    DEPENDS dictionary wordlist ${dict_data_files}
    COMMENT "Making the portable zip dictionary-portable.zip"
    VERBATIM)
  add_custom_target(portable ALL DEPENDS ${dict_portable})
else()
  add_custom_target(portable
    COMMAND ${CMAKE_COMMAND} -E echo "zip was not found: install Debian's zip (tools/deps.sh)"
    COMMAND ${CMAKE_COMMAND} -E false)
endif()
