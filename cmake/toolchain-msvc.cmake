# clang-cl in MSVC mode: the wrapper DLL and the programs that must share its C++ ABI.
# QUELLAP_ARCH is x86 (the shipped 32-bit build) or x64 (a twin of the same sources whose test
# programs run under 64-bit Wine on machines whose kernel cannot run 32-bit code).
# Uses the MinGW-w64 headers, lld-link, import libraries generated at build time and the
# runtime shim in driver/runtime (no MSVC runtime or C++ library exists here).
set(CMAKE_SYSTEM_NAME Windows)
if(NOT QUELLAP_ARCH)
  set(QUELLAP_ARCH x86)
endif()
set(QUELLAP_ARCH ${QUELLAP_ARCH} CACHE STRING "x86 or x64")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUELLAP_ARCH)
set(QUELLAP_TREE msvc CACHE STRING "" FORCE)
if(QUELLAP_ARCH STREQUAL "x64")
  set(CMAKE_SYSTEM_PROCESSOR AMD64)
  set(_target x86_64-pc-windows-msvc)
  set(_arch_flags "/D_AMD64_=1")
  set(_arch_link "/machine:x64")
else()
  set(CMAKE_SYSTEM_PROCESSOR x86)
  set(_target i686-pc-windows-msvc)
  set(_arch_flags "/D_X86_=1")
  set(_arch_link "/machine:x86 /safeseh")
endif()

set(CMAKE_C_COMPILER clang-cl-14)
set(CMAKE_CXX_COMPILER clang-cl-14)
set(CMAKE_C_COMPILER_TARGET ${_target})
set(CMAKE_CXX_COMPILER_TARGET ${_target})
set(CMAKE_LINKER lld-link-14)
set(CMAKE_AR llvm-lib-14)
set(CMAKE_RC_COMPILER llvm-rc-14)
set(CMAKE_MT llvm-mt-14)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(_quellap_msvc_flags
  "-imsvc /usr/share/mingw-w64/include /X -fms-compatibility-version=19.29"
  "/clang:-fgnuc-version=4.2.1 /D__declspec=__declspec ${_arch_flags} /D__USE_MINGW_ANSI_STDIO=0"
  "/DWIN32_LEAN_AND_MEAN /DUNICODE /D_UNICODE /GS- /Zl /Zc:threadSafeInit- /GR /EHs-c- /W3")
string(JOIN " " _quellap_msvc_flags ${_quellap_msvc_flags})
set(CMAKE_C_FLAGS_INIT "${_quellap_msvc_flags}")
set(CMAKE_CXX_FLAGS_INIT "${_quellap_msvc_flags}")
set(CMAKE_RC_FLAGS_INIT "-C 65001")
set(CMAKE_C_STANDARD_LIBRARIES "" CACHE STRING "" FORCE)
set(CMAKE_CXX_STANDARD_LIBRARIES "" CACHE STRING "" FORCE)
set(_quellap_link "/nodefaultlib /manifest:no ${_arch_link} /dynamicbase /nxcompat /opt:ref")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${_quellap_link}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_quellap_link}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_quellap_link}")
