# Per-tree set-up: test frameworks, sanitizers, Wine as the runner of Windows test programs.

# Windows programs of a tree run under Wine with the tree's own prefix (see scripts/wine-run).
set(QUELLAP_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(QUELLAP_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run ${QUELLAP_WINEPREFIX})

if(QUELLAP_TREE STREQUAL "native")
  find_package(GTest REQUIRED)
  include(GoogleTest)

  # Tests run with AddressSanitizer and UndefinedBehaviorSanitizer; benchmarks stay unsanitised,
  # so every target names its own sources instead of sharing one compiled library.
  function(quellap_sanitize target)
    set(flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(${target} PRIVATE ${flags})
    target_link_options(${target} PRIVATE ${flags})
  endfunction()

  function(quellap_gtest name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main)
    quellap_sanitize(${name})
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endfunction()

elseif(QUELLAP_TREE STREQUAL "mingw")
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUELLAP_WINE_RUN})

  # Discovery runs at test time, once the prefix has been warmed outside ctest's pipes.
  function(quellap_gtest name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE gtest gtest_main)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)
  endfunction()

elseif(QUELLAP_TREE STREQUAL "msvc")
  include(QuellapMsvc)
endif()

# A Windows test program run as one test under Wine.
function(quellap_wine_test name target)
  add_test(NAME ${name} COMMAND ${QUELLAP_WINE_RUN} $<TARGET_FILE:${target}> ${ARGN})
endfunction()
