# Hunspell, the morphology library, built as a static library from Debian's source package,
# which tools/deps.sh unpacks under build/sources/. It is third-party code: it compiles with
# its own warnings left alone, and our -Werror does not apply to it.
file(GLOB dict_hunspell_trees LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/build/sources/hunspell-*)
set(dict_hunspell_dir "")
foreach(tree IN LISTS dict_hunspell_trees)
  if(EXISTS ${tree}/src/hunspell/hunspell.hxx)
    set(dict_hunspell_dir ${tree}/src/hunspell)
  endif()
endforeach()
if(NOT dict_hunspell_dir)
  message(FATAL_ERROR "Hunspell's source is not under ${CMAKE_SOURCE_DIR}/build/sources/: run tools/deps.sh, "
                      "which unpacks Debian's source package there (apt-get source hunspell)")
endif()

add_library(hunspell STATIC
  ${dict_hunspell_dir}/affentry.cxx
  ${dict_hunspell_dir}/affixmgr.cxx
  ${dict_hunspell_dir}/csutil.cxx
  ${dict_hunspell_dir}/filemgr.cxx
  ${dict_hunspell_dir}/hashmgr.cxx
  ${dict_hunspell_dir}/hunspell.cxx
  ${dict_hunspell_dir}/hunzip.cxx
  ${dict_hunspell_dir}/phonet.cxx
  ${dict_hunspell_dir}/replist.cxx
  ${dict_hunspell_dir}/suggestmgr.cxx)
target_compile_definitions(hunspell PUBLIC HUNSPELL_STATIC PRIVATE BUILDING_LIBHUNSPELL)
target_compile_options(hunspell PRIVATE -w)
# Included as a system directory, so its headers' warnings do not fail our -Werror either.
target_include_directories(hunspell SYSTEM PUBLIC ${dict_hunspell_dir})
