# Writes a short-format import library for one system DLL: the export names are read from
# MinGW's import archive (symbols __imp__NAME), the library is made by llvm-dlltool with -k so
# that stdcall imports keep their undecorated DLL names. MinGW's own archives fail lld-link's
# SafeSEH check; these do not.
# In: DLL (base name), ARCHIVE (MinGW lib*.a), OUT (the .lib to write), MACHINE (i386 or
# i386:x86-64).
execute_process(COMMAND llvm-nm-14 --defined-only ${ARCHIVE}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE rc ERROR_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot read ${ARCHIVE}")
endif()
if(MACHINE STREQUAL "i386")
  set(prefix "__imp__")  # x86 C names carry a leading underscore
  set(keep -k)
else()
  set(prefix "__imp_")
  set(keep)
endif()
string(REGEX MATCHALL "${prefix}[^\r\n ]+" imports "${symbols}")
list(REMOVE_DUPLICATES imports)
list(SORT imports)
set(def "LIBRARY ${DLL}.dll\nEXPORTS\n")
foreach(imp IN LISTS imports)
  string(REGEX REPLACE "^${prefix}" "" name "${imp}")
  string(APPEND def "  ${name}\n")
endforeach()
get_filename_component(dir ${OUT} DIRECTORY)
file(WRITE ${dir}/${DLL}.def "${def}")
execute_process(COMMAND llvm-dlltool-14 -m ${MACHINE} ${keep} -d ${dir}/${DLL}.def -l ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "llvm-dlltool failed for ${DLL}")
endif()
