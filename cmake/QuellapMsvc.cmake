# The MSVC-ABI tree: generated import libraries for the system DLLs and the runtime shim.

set(QUELLAP_SYSTEM_DLLS kernel32 user32 shlwapi msvcrt ntdll psapi advapi32 shell32)
set(QUELLAP_IMPLIB_DIR ${CMAKE_BINARY_DIR}/implib)
set(QUELLAP_IMPORT_LIBS)
if(QUELLAP_ARCH STREQUAL "x64")
  set(triple x86_64-w64-mingw32)
  set(machine i386:x86-64)
else()
  set(triple i686-w64-mingw32)
  set(machine i386)
endif()
foreach(dll IN LISTS QUELLAP_SYSTEM_DLLS)
  set(archive /usr/${triple}/lib/lib${dll}.a)
  set(out ${QUELLAP_IMPLIB_DIR}/${dll}.lib)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DDLL=${dll} -DARCHIVE=${archive} -DOUT=${out} -DMACHINE=${machine}
            -P ${CMAKE_SOURCE_DIR}/cmake/MakeImportLib.cmake
    DEPENDS ${archive} ${CMAKE_SOURCE_DIR}/cmake/MakeImportLib.cmake
    COMMENT "Import library ${dll}.lib")
  list(APPEND QUELLAP_IMPORT_LIBS ${out})
endforeach()

# Compiler helpers exported by ntdll.dll that MinGW's import archive does not list: the stack
# probe for frames over a page, and on x86 the 64-bit arithmetic.
if(QUELLAP_ARCH STREQUAL "x64")
  set(helpers __chkstk)
else()
  set(helpers _chkstk _alldiv _allrem _alldvrm _allmul _aulldiv _aullrem _aulldvrm _allshl _allshr _aullshr)
endif()
set(helpers_def ${QUELLAP_IMPLIB_DIR}/ntdll_helpers.def)
set(helpers_lib ${QUELLAP_IMPLIB_DIR}/ntdll_helpers.lib)
string(JOIN "\n  " helpers_text ${helpers})
file(WRITE ${helpers_def} "LIBRARY ntdll.dll\nEXPORTS\n  ${helpers_text}\n")
set(keep)
if(QUELLAP_ARCH STREQUAL "x86")
  set(keep -k)
endif()
add_custom_command(OUTPUT ${helpers_lib}
  COMMAND llvm-dlltool-14 -m ${machine} ${keep} -d ${helpers_def} -l ${helpers_lib}
  DEPENDS ${helpers_def}
  COMMENT "Import library ntdll_helpers.lib")
list(APPEND QUELLAP_IMPORT_LIBS ${helpers_lib})
add_custom_target(quellap_import_libs DEPENDS ${QUELLAP_IMPORT_LIBS})

# No C++ exceptions in this tree: nothing may be thrown across a module boundary. CMake puts its
# default /EHsc after the tool-chain's flags, so it is taken out here.
string(REPLACE "/EHsc" "" CMAKE_CXX_FLAGS "${CMAKE_CXX_FLAGS}")

# Links a module of this tree against the shim (driver/runtime), the ntdll compiler helpers and
# the system DLLs it names.
# KIND is DLL or CONSOLE.
function(quellap_msvc_module target kind)
  add_dependencies(${target} quellap_import_libs)
  target_link_libraries(${target} PRIVATE ${QUELLAP_IMPLIB_DIR}/ntdll_helpers.lib)
  if(kind STREQUAL "DLL")
    target_link_libraries(${target} PRIVATE quellap_runtime_dll)
  else()
    target_link_libraries(${target} PRIVATE quellap_runtime_console)
    target_link_options(${target} PRIVATE /subsystem:console /entry:mainCRTStartup)
  endif()
  foreach(dll IN LISTS ARGN)
    target_link_libraries(${target} PRIVATE ${QUELLAP_IMPLIB_DIR}/${dll}.lib)
  endforeach()
endfunction()
