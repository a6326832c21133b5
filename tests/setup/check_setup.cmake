# QuellapSetup under Wine on a folder holding the file driver and its settings, as a user has it.
# roundtrip: status and wrap with a temporary file left by an interrupted run, update of a
#   wrapper of the other machine, the host plays the sample through the wrapper and its
#   announcement appears, unwrap, and every original file is back. refusals: each once,
#   changing nothing. service: the service verbs through the real service control manager,
#   with the stand-in service program as Horavant.exe.
# In: CASE, SETUP, PROBE, STANDIN, BONHOST, TSFILE, WRAPPER (this machine's), OTHER_WRAPPER (the
# other machine's), ARCH, VERSION, DATA, WORK (a scratch folder), WINE_RUN, WINE_PREFIX.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/ExpectOutput.cmake)
foreach(built BONHOST TSFILE WRAPPER OTHER_WRAPPER)
  if(NOT EXISTS ${${built}} AND NOT CASE STREQUAL "service")
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
windows_path(from ${package})
windows_path(setupW ${SETUP})
windows_path(bonhostW ${BONHOST})

# The folder of a user's driver with its settings, and a package holding `wrapper` as this
# machine's wrapper.
function(stage wrapper)
  if(EXISTS ${folder})  # a run that failed may have left it read-only
    execute_process(COMMAND chattr -R -i ${folder} ERROR_QUIET)
    file(CHMOD ${folder} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  endif()
  file(REMOVE_RECURSE ${folder} ${package})
  file(MAKE_DIRECTORY ${folder} ${package}/${ARCH})
  file(COPY_FILE ${TSFILE} ${folder}/BonDriver_TsFile.dll)
  file(COPY ${DATA}/sample.ts DESTINATION ${folder})
  file(WRITE ${folder}/BonDriver_TsFile.ini "[TsFile]\r\nFile=sample.ts\r\nChunkBytes=1880\r\n")
  file(COPY_FILE ${wrapper} ${package}/${ARCH}/BonDriver_Quellap.dll)
endfunction()

# Every file of the folder with its hash; with `before`, a failure unless they are the same.
function(snapshot out)
  file(GLOB names ${folder}/*)
  execute_process(COMMAND sha256sum ${names} OUTPUT_VARIABLE files)
  if(ARGN AND NOT files STREQUAL "${ARGN}")
    message(FATAL_ERROR "the folder changed:\n${ARGN}\n${files}")
  endif()
  set(${out} "${files}" PARENT_SCOPE)
endfunction()

# QuellapSetup ARGS (in English, with the staged package) ends with STATUS and prints one line
# for the driver matching `pattern`; nothing changes when it refuses.
function(setup wanted pattern)
  snapshot(before)
  execute_process(COMMAND ${WINE_RUN} ${WINE_PREFIX} ${SETUP} --lang en --from ${from} ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE out TIMEOUT 120)
  expect_status(${wanted})
  expect(stdout "${out}" "^[^\n]*BonDriver_TsFile.dll: ${pattern}\n$")
  if(pattern MATCHES "^refused")
    snapshot(after "${before}")
  endif()
endfunction()

# QuellapSetup ARGS under Wine's relay trace ends with STATUS, prints `lines` (all its output),
# and renames files into place by handle: `made` is "[1]" for each made FILE_ATTRIBUTE_TEMPORARY
# (which Windows keeps across a rename; Wine keeps it nowhere), "[0]" for each made otherwise.
function(traced_setup wanted lines made)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env WINEDEBUG=-all,+relay ${WINE_RUN} ${WINE_PREFIX}
    ${SETUP} --lang en --from ${from} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
    ERROR_VARIABLE trace TIMEOUT 120)
  expect_status(${wanted})
  expect(stdout "${out}" "^${lines}$")
  string(REGEX MATCHALL "(CreateFileW|SetFileInformationByHandle)\\([^\n]*" calls "${trace}")
  set(renamed "")
  foreach(call IN LISTS calls)
    # The attributes' third hexadecimal digit from the right holds the temporary one.
    if(call MATCHES "^CreateFileW\\([^\"]*\"[^\"]*\",[^,]*,[^,]*,[^,]*,[^,]*,[0-9a-f]*([0-9a-f])..,")
      math(EXPR temporary "0x${CMAKE_MATCH_1} & 1")
    elseif(call MATCHES "^CreateFileW\\(\\) retval=0*([0-9a-f]+)")
      set(made_${CMAKE_MATCH_1} ${temporary})
    elseif(call MATCHES "^SetFileInformationByHandle\\(0*([0-9a-f]+),[0-9a-f]*00000003,")  # rename
      string(APPEND renamed "[${made_${CMAKE_MATCH_1}}]")
    endif()
  endforeach()
  if(NOT renamed STREQUAL made)
    message(FATAL_ERROR "renamed files made temporary ([1]) or not ([0]): ${renamed}, not ${made}")
  endif()
endfunction()

# The host plays the sample through the wrapped driver until the announcement appears; the
# probe runs COMMAND (if given) while the host has the driver loaded.
function(host seconds)
  execute_process(COMMAND ${WINE_RUN} ${WINE_PREFIX} ${PROBE} BonDriver_TsFile
    "\"${bonhostW}\" --seconds ${seconds} \"${driver}\"" ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE out TIMEOUT 120)
  expect_status(0)
  expect(stdout "${out}" "\nannouncement: QUELLAP Y33 0x[0-9a-f]+ 0x[0-9a-f]+ 0x[0-9a-f]+ BonDriver_TsFile\n")
  set(out "${out}" PARENT_SCOPE)
endfunction()

set(renamed BonDriver_TsFile_Quellapped)
set(wrapper "Quellap ${VERSION} \\(${ARCH}\\)")
if(CASE STREQUAL "roundtrip")
  stage(${WRAPPER})
  snapshot(originals)
  execute_process(COMMAND ${WINE_RUN} ${WINE_PREFIX} reg add "HKCU\\Software\\Wine\\Debug"
    /v RelayInclude /d "CreateFileW;SetFileInformationByHandle" /f OUTPUT_QUIET)
  file(WRITE ${folder}/~QuellapSetup-0badf00d.tmp "")
  set(leftover "[^\n]*\\\\~QuellapSetup-0badf00d.tmp: ")
  set(line "[^\n]*BonDriver_TsFile.dll: ")
  traced_setup(0 "${leftover}left by an interrupted QuellapSetup; [^\n]*\n${line}tuner driver \\(${ARCH}\\), not wrapped\n" "" status ${driver})
  traced_setup(0 "${leftover}removed: [^\n]*\n${line}wrapped: ${wrapper} installed, the driver renamed to ${renamed}.dl_; settings file copied to ${renamed}.ini\n" "[0][0]" wrap ${driver})
  setup(0 "wrapped: ${wrapper} in front of ${renamed}.dl_ \\(${ARCH}\\)" status ${from}\\..\\TV)
  # The other machine's wrapper, which the host cannot load, is replaced in one step.
  file(COPY_FILE ${OTHER_WRAPPER} ${folder}/BonDriver_TsFile.dll)
  traced_setup(0 "${line}updated: Quellap ${VERSION} \\([^)]*\\) replaced by ${VERSION} \\(${ARCH}\\)\n" "[0]" update ${driver})
  host(5)
  expect(stdout "${out}" "\nsummary: ms=[0-9]+ chunks=[1-9][^\n]*\nhost: exit 0\n$")
  setup(0 "unwrapped: the driver has its name back, Quellap ${VERSION} removed; ${renamed}.ini removed \\(the same as BonDriver_TsFile.ini\\)" unwrap ${driver})
  snapshot(after "${originals}")
elseif(CASE STREQUAL "refusals")
  execute_process(COMMAND ${WINE_RUN} ${WINE_PREFIX} ${SETUP} wrap RESULT_VARIABLE status ERROR_VARIABLE err)
  expect_status(2)
  expect(stderr "${err}" "^QuellapSetup ${VERSION}: [^\n]*\nUsage: QuellapSetup ")
  stage(${OTHER_WRAPPER})
  setup(1 "refused: the driver is ${ARCH}, and [^\n]*BonDriver_Quellap.dll is missing or not a Quellap wrapper for ${ARCH}" wrap ${driver})
  stage(${WRAPPER})
  file(WRITE ${folder}/${renamed}.dl_ "not the user's driver")
  setup(1 "refused: ${renamed}.dl_ already exists" wrap ${driver})
  file(REMOVE ${folder}/${renamed}.dl_)

  # Root ignores the permission bits, but not the immutable attribute.
  file(CHMOD ${folder} PERMISSIONS OWNER_READ OWNER_EXECUTE)
  execute_process(COMMAND chattr +i ${folder} ERROR_QUIET)
  execute_process(COMMAND touch ${folder}/probe RESULT_VARIABLE readOnly ERROR_QUIET)
  if(readOnly)
    setup(1 "refused: the folder is not writable \\(error 5\\); for folders such as Program Files run QuellapSetup from an elevated prompt \\(Run as administrator\\)" wrap ${driver})
  else()
    message("note: the folder could not be made read-only here; that refusal was not tried")
  endif()
  execute_process(COMMAND chattr -i ${folder} ERROR_QUIET)
  file(CHMOD ${folder} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  file(REMOVE ${folder}/probe)

  setup(0 "wrapped: [^\n]*" wrap ${driver})
  setup(1 "refused: already wrapped \\(Quellap ${VERSION}\\); update installs another version" wrap ${driver})
  # A TV program that has the wrapper loaded holds it: unwrap refuses, changing nothing.
  snapshot(before)
  host(60 "\"${setupW}\" --lang en --from \"${from}\" unwrap \"${driver}\"")
  expect(stdout "${out}" "\n[^\n]*BonDriver_TsFile.dll: refused: BonDriver_TsFile.dll is in use \\(error (5|32)\\); close the TV program and try again; nothing was changed\n")
  expect(stdout "${out}" "\nwhile hosted: exit 1\n")
  snapshot(after "${before}")
elseif(CASE STREQUAL "service")
  # Under Wine a file's security comes from its mode bits: o+w lets Everyone write. Everything
  # runs from the stand-in, which keeps the prefix's services alive between the commands.
  set(base ${WORK}/service)
  file(REMOVE_RECURSE ${base})
  foreach(place Quellap Open Other)
    file(MAKE_DIRECTORY ${base}/${place})
    file(COPY_FILE ${STANDIN} ${base}/${place}/Horavant.exe)
  endforeach()
  file(CHMOD ${base}/Open DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_WRITE WORLD_EXECUTE)
  windows_path(base ${base})
  set(en "\"${setupW}\" --lang en service")
  set(key "HKLM\\System\\CurrentControlSet\\Services\\EventLog\\Application\\Horavant")
  execute_process(COMMAND ${WINE_RUN} ${WINE_PREFIX} ${STANDIN} "${en} uninstall"
    "${en} install \"${base}\\Open\\Horavant.exe\"" "${en} install \"${base}\\Quellap\\Horavant.exe\""
    "reg query ${key} /v EventMessageFile" "${en} status"
    "${en} install \"${base}\\Quellap\\Horavant.exe\""
    "${en} install \"${base}\\Other\\Horavant.exe\"" "\"${setupW}\" --lang ja service uninstall"
    "reg query ${key}" "${en} status"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 300)
  expect_status(0)
  string(REGEX REPLACE "[][\\.+*?()^$|]" "\\\\\\0" program "\"${base}\\Quellap\\Horavant.exe\" --service")
  string(REGEX REPLACE "[][\\.+*?()^$|]" "\\\\\\0" open "${base}\\Open")
  string(REPLACE "\r" "" out "${out}")
  expect(stdout "${out}" "^Horavant: [^\n]*\nexit 0\n\
Horavant: refused: Everyone can change ${open}; [^\n]*\nexit 1\n\
Horavant: installed and running: ${program}; restart after a failure could not be set \\(error 124\\)[^\n]*\nexit 0\n\
\nHKEY_LOCAL_MACHINE[^\n]*\n +EventMessageFile +REG_EXPAND_SZ +[^\n]*Quellap\\\\Horavant.exe\n\nexit 0\n\
Horavant: running; automatic start; command line ${program}\nexit 0\n\
Horavant: already installed and running: ${program}\nexit 0\n\
Horavant: refused: the service Horavant is registered with another program: ${program}; [^\n]*\nexit 1\n\
Horavant: 停止し[^\n]*削除しました[^\n]*\nexit 0\n\
[^\n]*\nexit 1\n\
Horavant: not installed\nexit 0\n$")
else()
  message(FATAL_ERROR "unknown CASE ${CASE}")
endif()
