# tvx_add_gtest(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [LABELS unit|e2e] [ENV K=V ...] [TIMEOUT s])
# One test executable, registered with CTest as one test (its cases run in one process).
function(tvx_add_gtest name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} tvx_test_support GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_LABELS)
    set(T_LABELS unit)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}" TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${T_ENV}")
endfunction()

# Warnings for the project's own code.
function(tvx_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()

# tvx_add_e2e(NAME SCRIPT path.py [ARGS ...] [DEPENDS targets...] [TIMEOUT s])
# Runs an end-to-end script against the real binaries in ${CMAKE_BINARY_DIR}/bin.
# The script starts its own Xvfb / PulseAudio through tests/support/tvx_e2e.py; exit 77 means skipped.
function(tvx_add_e2e name)
  cmake_parse_arguments(T "" "SCRIPT;TIMEOUT" "ARGS;DEPENDS" ${ARGN})
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME ${name}
    COMMAND ${Python3_EXECUTABLE} ${T_SCRIPT} --bin-dir ${CMAKE_BINARY_DIR}/bin --test-dir ${CMAKE_BINARY_DIR}/tests ${T_ARGS})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS e2e TIMEOUT ${T_TIMEOUT} SKIP_RETURN_CODE 77
    ENVIRONMENT "PYTHONPATH=${PROJECT_SOURCE_DIR}/tests/support;PYTHONDONTWRITEBYTECODE=1")
endfunction()
