# Checks the wrapper's image without running it: the machine, the one undecorated export, imports
# from system DLLs only, and the load-config block (on x86 with its safe-handler fields).
# In: IMAGE (the DLL), ARCH (x86 or x64).
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND llvm-readobj-14 --file-headers --coff-exports --coff-imports --coff-load-config ${IMAGE}
  OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot read ${IMAGE}")
endif()

function(require pattern what)
  if(NOT dump MATCHES "${pattern}")
    message(FATAL_ERROR "${IMAGE}: ${what}")
  endif()
endfunction()

if(ARCH STREQUAL "x86")
  require("Machine: IMAGE_FILE_MACHINE_I386" "not a PE32 (i386) image")
  require("LoadConfig \\[\n  Size: 0x48\n" "no 0x48-byte load-config block")
  # The safe-handler table must be filled in, or the image must honestly have no handler at all.
  string(REGEX MATCH "SEHandlerCount: ([0-9]+)" count "${dump}")
  if(NOT count OR (CMAKE_MATCH_1 EQUAL 0 AND NOT dump MATCHES "IMAGE_DLL_CHARACTERISTICS_NO_SEH"))
    message(FATAL_ERROR "${IMAGE}: safe exception handlers not declared")
  endif()
else()
  require("Machine: IMAGE_FILE_MACHINE_AMD64" "not a PE32+ (x64) image")
  require("LoadConfig \\[\n  Size: 0x70\n" "no load-config block")
endif()
require("IMAGE_FILE_DLL" "not a DLL")

# (llvm-readobj also lists an unnamed entry for the ordinal base.)
string(REGEX MATCHALL "Export {\n  Ordinal: [0-9]+\n  Name: [^\n]+" exports "${dump}")
list(LENGTH exports exportCount)
if(NOT exportCount EQUAL 1 OR NOT exports MATCHES "Name: CreateBonDriver$")
  message(FATAL_ERROR "${IMAGE}: exports other than the undecorated CreateBonDriver:\n${exports}")
endif()

string(REGEX MATCHALL "Import {\n  Name: [^\n]*" imports "${dump}")
set(allowed kernel32.dll user32.dll shlwapi.dll msvcrt.dll ntdll.dll)
foreach(import IN LISTS imports)
  string(REGEX REPLACE ".*Name: " "" dll "${import}")
  string(TOLOWER "${dll}" dll)
  if(NOT dll IN_LIST allowed)
    message(FATAL_ERROR "${IMAGE}: imports ${dll}, which is not a system DLL")
  endif()
endforeach()
