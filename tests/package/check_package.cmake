# Assembles the release package and checks it as a user receives it: the list of files, each
# binary's machine, and its version resource as Windows reads it (verinfo under Wine).
# The shipped QuellapSetup then wraps a 64-bit driver with the wrapper beside it.
# In: SOURCE (the source tree), OUTPUT (a scratch folder), VERINFO, WINE_RUN, WINE_PREFIX, VERSION,
# TSFILE (the 64-bit file driver).
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${OUTPUT})
execute_process(COMMAND ${SOURCE}/scripts/assemble-package ${OUTPUT}
  OUTPUT_VARIABLE zip OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
set(expected "${OUTPUT}/Quellap-${VERSION}-windows.zip")
if(NOT rc EQUAL 0 OR NOT zip STREQUAL expected)
  message(FATAL_ERROR "assemble-package failed (${rc}) or wrote '${zip}', not ${expected}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${zip} OUTPUT_VARIABLE listing)
string(REPLACE "\n" ";" listing "${listing}")
list(FILTER listing EXCLUDE REGEX "(^$|/$)")
list(SORT listing)
set(files Horavant.ini LICENSE.txt QuellapSetup.exe README.txt x64/BonDriver_Quellap.dll
          x64/Horavant.exe x64/QuellapProbe.exe x86/BonDriver_Quellap.dll x86/Horavant.exe
          x86/QuellapProbe.exe)
if(NOT listing STREQUAL files)
  message(FATAL_ERROR "the package holds ${listing}, not ${files}")
endif()

set(unpacked ${OUTPUT}/unpacked)
file(MAKE_DIRECTORY ${unpacked})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${unpacked})
foreach(text README.txt LICENSE.txt)
  # A plain read drops the carriage returns. The first lines tell: CMake's regular expressions
  # run out of stack (a crash) on the hex of the whole read-me.
  file(READ ${unpacked}/${text} content LIMIT 2048 HEX)
  if(NOT content MATCHES "^(..)*0d0a")
    message(FATAL_ERROR "${text} lacks Windows line ends")
  endif()
endforeach()
file(READ ${unpacked}/README.txt readme)
if(NOT readme MATCHES "Quellap ${VERSION}\n" OR NOT readme MATCHES "_Quellapped.ini"
   OR NOT readme MATCHES "TotDelayMsec" OR NOT readme MATCHES "QuellapSetup wrap"
   OR NOT readme MATCHES "QuellapProbe --slew")
  message(FATAL_ERROR "README.txt does not name the version, the renamed settings file, TotDelayMsec, QuellapSetup and QuellapProbe")
endif()
file(READ ${unpacked}/Horavant.ini head LIMIT 2 HEX)
if(NOT head STREQUAL "fffe")
  message(FATAL_ERROR "Horavant.ini is not UTF-16 with a byte-order mark")
endif()

# Each binary: its machine and version resource.
function(expect_image path machine description)
  execute_process(COMMAND ${WINE_RUN} ${WINE_PREFIX} ${VERINFO} ${unpacked}/${path}
    OUTPUT_VARIABLE line RESULT_VARIABLE rc ERROR_QUIET)
  get_filename_component(file ${path} NAME)
  set(want ": machine=${machine} version=${VERSION}.0 product=${VERSION}.0 FileVersion=${VERSION} ProductVersion=${VERSION} OriginalFilename=${file} FileDescription=${description}")
  string(FIND "${line}" "${want}" at)
  if(NOT rc EQUAL 0 OR at EQUAL -1)
    message(FATAL_ERROR "${path}:\n  got ${line}\n  want ${want}")
  endif()
endfunction()
foreach(arch x86 x64)
  set(machine i386)
  if(arch STREQUAL "x64")
    set(machine amd64)
  endif()
  expect_image(${arch}/BonDriver_Quellap.dll ${machine} "Quellap tuner-driver wrapper")
  expect_image(${arch}/Horavant.exe ${machine} "Quellap clock watcher")
  expect_image(${arch}/QuellapProbe.exe ${machine} "Quellap probe")
endforeach()
expect_image(QuellapSetup.exe i386 "Quellap setup")

# Dropped on QuellapSetup.exe, a 64-bit driver gets the x64 wrapper beside the program; with no
# console of its own the program does not wait for Enter.
execute_process(COMMAND /lib/ld-linux.so.2 --version RESULT_VARIABLE no32 OUTPUT_QUIET ERROR_QUIET)
if(no32)
  message("note: this kernel cannot run 32-bit programs; QuellapSetup.exe was not run")
else()
  file(COPY_FILE ${TSFILE} ${OUTPUT}/BonDriver_T.dll)
  string(REPLACE "/" "\\" driver "Z:${OUTPUT}/BonDriver_T.dll")
  execute_process(COMMAND ${WINE_RUN} ${WINE_PREFIX} ${unpacked}/QuellapSetup.exe --lang en ${driver}
    INPUT_FILE /dev/null OUTPUT_VARIABLE out RESULT_VARIABLE rc ERROR_QUIET)
  file(SHA256 ${OUTPUT}/BonDriver_T.dll installed)
  file(SHA256 ${unpacked}/x64/BonDriver_Quellap.dll shipped)
  if(NOT rc EQUAL 0 OR NOT installed STREQUAL shipped OR NOT out MATCHES
     "wrapped: Quellap ${VERSION} \\(x64\\) installed[^\n]*\n$")
    message(FATAL_ERROR "QuellapSetup.exe did not wrap with the package's x64 wrapper (${rc}):\n${out}")
  endif()
endif()
