# Runs the fuzzer for 60 s on a fresh copy of the committed corpus (it adds what it finds to
# the copy, never to the source tree).
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
file(COPY ${CORPUS}/ DESTINATION ${WORK})
execute_process(COMMAND ${FUZZER} -max_total_time=60 -max_len=32768 -print_final_stats=1 ${WORK}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "stream_fuzzer found a fault (exit status ${status})")
endif()
