# System DLLs that only some commands need (sound and the recorder, file dialogs, help,
# accents, the plain scroll bars) are delay-loaded: each is loaded at its first call, so a
# start does not wait for them and for what they load in turn.
#
# dict_delay_import(<name> <dll>) makes the target <name>_delay, an import library of the
# same functions as the toolchain's lib<name>.a, whose calls load <dll> when first made.
function(dict_delay_import name dll)
  # dlltool's delay-load thunks for i386 jump to address 0 at the first call (measured under
  # Wine's 32-bit side: the about box and the themed controls crashed): the 32-bit build
  # imports these DLLs as usual.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_library(${name}_delay INTERFACE IMPORTED)
    set_target_properties(${name}_delay PROPERTIES INTERFACE_LINK_LIBRARIES ${name})
    return()
  endif()
  find_library(DICT_IMPLIB_${name} NAMES lib${name}.a REQUIRED)
  execute_process(COMMAND ${CMAKE_NM} ${DICT_IMPLIB_${name}} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot list the functions of ${DICT_IMPLIB_${name}}")
  endif()
  string(REGEX MATCHALL " I __imp_[^\r\n]+" imports "${symbols}")
  set(functions "")
  foreach(import IN LISTS imports)
    string(REGEX REPLACE "^ I __imp_" "" function "${import}")
    # 32-bit C names carry a leading underscore; stdcall ones keep their @bytes, which
    # --kill-at drops from the name looked up in the DLL.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(REGEX REPLACE "^_" "" function "${function}")
    endif()
    list(APPEND functions "${function}")
  endforeach()
  list(REMOVE_DUPLICATES functions)
  list(JOIN functions "\n" exports)
  set(dir ${CMAKE_BINARY_DIR}/delay)
  file(WRITE ${dir}/${name}.def "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(machine -m i386 --kill-at)
  else()
    set(machine -m i386:x86-64)
  endif()
  # Run in its folder: dlltool names the library's symbols after the path it is given.
  execute_process(COMMAND ${CMAKE_DLLTOOL} ${machine} --input-def ${name}.def --output-delaylib lib${name}_delay.a
                  WORKING_DIRECTORY ${dir} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot make the delay-load library of ${dll}")
  endif()
  add_library(${name}_delay STATIC IMPORTED)
  set_target_properties(${name}_delay PROPERTIES IMPORTED_LOCATION ${dir}/lib${name}_delay.a)
endfunction()
