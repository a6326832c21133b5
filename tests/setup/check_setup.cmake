# QuellapSetup under Wine on a folder holding the file driver and its settings, as a user has it.
# roundtrip: wrap, status, the console host plays the sample through the wrapper and its
#   announcement appears, unwrap, and every original file is back byte for byte.
# refusals: each refusal once (already wrapped, wrong machine, existing target, read-only
#   folder, a file the running host holds), each leaving every file as it was.
# In: CASE, SETUP, PROBE, BONHOST, TSFILE, WRAPPER (this machine's), OTHER_WRAPPER (the other
# machine's), ARCH, VERSION, DATA, WORK (a scratch folder), WINE_RUN, WINE_PREFIX.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/ExpectOutput.cmake)

foreach(built BONHOST TSFILE WRAPPER OTHER_WRAPPER)
  if(NOT EXISTS ${${built}})
    message("SKIPPED: ${${built}} is not built (build both MSVC-ABI trees)")
    return()
  endif()
endforeach()

set(folder ${WORK}/${CASE}/TV)
set(package ${WORK}/${CASE}/package)

# Wine's drive Z: is the Linux root.
function(windows_path out path)
  string(REPLACE "/" "\\" path "${path}")
  set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()
windows_path(driver ${folder}/BonDriver_TsFile.dll)

# The folder of a user's driver with its settings, and a package holding `wrapper` as this
# machine's wrapper.
function(stage wrapper)
  if(EXISTS ${folder})  # a run that failed may have left it read-only
    execute_process(COMMAND chattr -i ${folder} ERROR_QUIET)
    file(CHMOD ${folder} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  endif()
  file(REMOVE_RECURSE ${folder} ${package})
  file(MAKE_DIRECTORY ${folder} ${package}/${ARCH})
  file(COPY_FILE ${TSFILE} ${folder}/BonDriver_TsFile.dll)
  file(COPY ${DATA}/sample.ts DESTINATION ${folder})
  file(WRITE ${folder}/BonDriver_TsFile.ini "[TsFile]\r\nFile=sample.ts\r\nChunkBytes=1880\r\n")
  file(COPY_FILE ${wrapper} ${package}/${ARCH}/BonDriver_Quellap.dll)
endfunction()

# Every file of the folder with its hash.
function(snapshot out)
  file(GLOB names RELATIVE ${folder} ${folder}/*)
  set(files)
  foreach(name IN LISTS names)
    file(SHA256 ${folder}/${name} hash)
    list(APPEND files "${name}=${hash}")
  endforeach()
  set(${out} "${files}" PARENT_SCOPE)
endfunction()

function(expect_unchanged before what)
  snapshot(now)
  if(NOT now STREQUAL before)
    message(FATAL_ERROR "${what} changed the folder:\n  ${before}\n  ${now}")
  endif()
endfunction()

# Runs QuellapSetup with ARGS (English, the staged package); sets status, out and err.
function(setup)
  windows_path(from ${package})
  execute_process(COMMAND ${WINE_RUN} ${WINE_PREFIX} ${SETUP} --lang en --from ${from} ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
  foreach(result status out err)
    set(${result} "${${result}}" PARENT_SCOPE)
  endforeach()
endfunction()

# The one line of QuellapSetup's output: the driver's path and `pattern`.
function(expect_report pattern)
  expect(stdout "${out}" "^[^\n]*BonDriver_TsFile.dll: ${pattern}\n$")
endfunction()

# QuellapSetup ARGS refused with a line matching `reason`, nothing changed.
function(expect_refusal reason)
  snapshot(before)
  setup(${ARGN})
  expect_status(1)
  expect_report("refused: ${reason}")
  expect_unchanged("${before}" "${ARGN}")
endfunction()

# The host plays the sample through BonDriver_TsFile.dll until the source's announcement
# appears; then PROGRAM ARGS (after --, if given) run while the host has the driver loaded.
function(host)
  execute_process(COMMAND ${WINE_RUN} ${WINE_PREFIX} ${PROBE} BonDriver_TsFile ${BONHOST} ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
  expect_status(0)
  set(number "0x[0-9a-f]+")
  expect(stdout "${out}" "\nannouncement: QUELLAP Y33 ${number} ${number} ${number} BonDriver_TsFile\n")
  set(out "${out}" PARENT_SCOPE)
endfunction()

set(renamed BonDriver_TsFile_Quellapped)
set(wrapper "Quellap ${VERSION} \\(${ARCH}\\)")
if(CASE STREQUAL "roundtrip")
  stage(${WRAPPER})
  snapshot(originals)
  setup(wrap ${driver})
  expect_status(0)
  expect_report("wrapped: ${wrapper} installed, the driver renamed to ${renamed}.dl_; settings file copied to ${renamed}.ini")
  windows_path(windowsFolder ${folder})
  setup(status ${windowsFolder})
  expect_status(0)
  expect_report("wrapped: ${wrapper} in front of ${renamed}.dl_ \\(${ARCH}\\)")
  host(--seconds 5 ${driver})
  expect(stdout "${out}" "\nsummary: ms=[0-9]+ chunks=[1-9][^\n]*\nhost: exit 0\n$")
  setup(unwrap ${driver})
  expect_status(0)
  expect_report("unwrapped: the driver has its name back, Quellap ${VERSION} removed; ${renamed}.ini removed \\(the same as BonDriver_TsFile.ini\\)")
  expect_unchanged("${originals}" "wrap and unwrap")
elseif(CASE STREQUAL "refusals")
  stage(${OTHER_WRAPPER})
  expect_refusal("the driver is ${ARCH}, and [^\n]*BonDriver_Quellap.dll is missing or not a Quellap wrapper for ${ARCH}" wrap ${driver})

  stage(${WRAPPER})
  file(WRITE ${folder}/${renamed}.dl_ "not the user's driver")
  expect_refusal("${renamed}.dl_ already exists" wrap ${driver})
  file(REMOVE ${folder}/${renamed}.dl_)

  # Root ignores the permission bits, but not the immutable attribute.
  file(CHMOD ${folder} PERMISSIONS OWNER_READ OWNER_EXECUTE)
  execute_process(COMMAND chattr +i ${folder} RESULT_VARIABLE immutable ERROR_QUIET)
  execute_process(COMMAND touch ${folder}/probe RESULT_VARIABLE readOnly ERROR_QUIET OUTPUT_QUIET)
  if(readOnly)
    expect_refusal("the folder is not writable \\(error 5\\); for folders such as Program Files run QuellapSetup from an elevated prompt \\(Run as administrator\\)" wrap ${driver})
  else()
    message("note: the folder could not be made read-only here; that refusal was not tried")
    file(REMOVE ${folder}/probe)
  endif()
  if(immutable EQUAL 0)
    execute_process(COMMAND chattr -i ${folder})
  endif()
  file(CHMOD ${folder} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

  setup(wrap ${driver})
  expect_status(0)
  expect_refusal("already wrapped \\(Quellap ${VERSION}\\); update installs another version" wrap ${driver})

  # A TV program that has the wrapper loaded holds it: unwrap refuses and puts back the step
  # it had made.
  snapshot(before)
  windows_path(from ${package})
  host(--seconds 60 ${driver} -- ${SETUP} --lang en --from ${from} unwrap ${driver})
  expect(stdout "${out}" "\n[^\n]*BonDriver_TsFile.dll: refused: BonDriver_TsFile.dll is in use \\(error (5|32)\\); close the TV program and try again; nothing was changed\n")
  expect(stdout "${out}" "\nwhile hosted: exit 1\n")
  expect_unchanged("${before}" "unwrap while hosted")
else()
  message(FATAL_ERROR "unknown CASE ${CASE}")
endif()
