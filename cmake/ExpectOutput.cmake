# Checks of a program's run for the test scripts: `status`, `out` and `err` are set by the run.

function(expect what text pattern)
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "${what} lacks '${pattern}':\n${text}")
  endif()
endfunction()

function(expect_status wanted)
  if(NOT status EQUAL ${wanted})
    message(FATAL_ERROR "exit status ${status}, expected ${wanted}\n${out}\n${err}")
  endif()
endfunction()
