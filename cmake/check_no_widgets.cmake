# Fails when a program loads the widget toolkit (or the print support that
# depends on it): the headless tool must run on a server without one.
#   cmake -DEXE=<program> -P check_no_widgets.cmake
execute_process(COMMAND ldd ${EXE} OUTPUT_VARIABLE libs RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "ldd ${EXE} failed: ${err}")
endif()
if(NOT libs MATCHES "libQt6Core")
  message(FATAL_ERROR "ldd ${EXE} lists no Qt library at all; is this the right program?\n${libs}")
endif()
if(libs MATCHES "libQt6(Widgets|PrintSupport)")
  message(FATAL_ERROR "${EXE} loads ${CMAKE_MATCH_0}:\n${libs}")
endif()
message(STATUS "${EXE} loads no widgets")
