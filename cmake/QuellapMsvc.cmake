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
add_custom_target(quellap_import_libs DEPENDS ${QUELLAP_IMPORT_LIBS})

# Links a module of this tree against the shim (driver/runtime) and the system DLLs it names.
# KIND is DLL, CONSOLE or GUI.
function(quellap_msvc_module target kind)
  add_dependencies(${target} quellap_import_libs)
  if(kind STREQUAL "DLL")
    target_link_libraries(${target} PRIVATE quellap_runtime_dll)
  elseif(kind STREQUAL "GUI")
    target_link_libraries(${target} PRIVATE quellap_runtime_gui)
    target_link_options(${target} PRIVATE /subsystem:windows /entry:wWinMainCRTStartup)
  else()
    target_link_libraries(${target} PRIVATE quellap_runtime_console)
    target_link_options(${target} PRIVATE /subsystem:console /entry:mainCRTStartup)
  endif()
  foreach(dll IN LISTS ARGN)
    target_link_libraries(${target} PRIVATE ${QUELLAP_IMPLIB_DIR}/${dll}.lib)
  endforeach()
endfunction()
