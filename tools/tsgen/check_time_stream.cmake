# Generates a stream that carries chosen times across a midnight and reads it back with tstime;
# a time that does not exist is refused.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/ExpectOutput.cmake)

execute_process(COMMAND ${TSGEN} --start 2026-02-28T23:59:58 --seconds 8 ${OUTPUT}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
expect_status(0)
execute_process(COMMAND ${TSTIME} ${OUTPUT} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
expect_status(0)
# The first second goes by while the reader synchronises; a TOT every fifth second.
expect(stdout "${out}" "offset +7520  TDT 2026-02-28 23:59:59\n[^\n]*TDT 2026-03-01 00:00:00\n[^\n]*TOT 2026-03-01 00:00:00\n")
expect(stderr "${err}" "tstime: 9 times decoded")

execute_process(COMMAND ${TSGEN} --start 2026-02-29T00:00:00 ${OUTPUT}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
expect_status(2)
expect(stderr "${err}" "tsgen: 2026-02-29T00:00:00 is no time")
