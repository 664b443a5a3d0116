# What every test and every program it starts runs with: windows offscreen,
# one locale, and a port table of the lines a test writes alone, so that no
# test can reach a serial port of the machine it runs on.
set(QRV_TEST_ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;QRV_NO_PORT_SCAN=1")

# qrv_add_test(<name> SOURCES <files...> LIBS <targets...> [TIMEOUT <s>])
# One Qt Test executable registered with CTest; windows run offscreen.
function(qrv_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test test_helpers ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "${QRV_TEST_ENVIRONMENT}")
endfunction()

# qrv_add_unprivileged_test(<name> <target> [test arguments...])
# Runs a test binary as a user without privileges (as nobody when CTest runs
# as root), for behaviour that root would not see; skipped where that is not possible.
function(qrv_add_unprivileged_test name target)
  add_test(NAME ${name} COMMAND sh ${PROJECT_SOURCE_DIR}/tests/run_unprivileged.sh $<TARGET_FILE:${target}> ${ARGN})
  set_tests_properties(${name} PROPERTIES
    TIMEOUT 300 SKIP_RETURN_CODE 77
    ENVIRONMENT "${QRV_TEST_ENVIRONMENT}")
endfunction()
