# nimbra_add_qt_test(NAME name SOURCES file... [LIBRARIES target...] [SERVER])
# Builds one Qt Test program and registers it with CTest. It runs on the
# offscreen platform and loads the engine built in this tree. A modal dialog
# that nothing answers would wait forever; the time limit ends such a run.
# SERVER: the test works on the test server (label "server", run under
# scripts/with-test-server.sh).
function(nimbra_add_qt_test)
  cmake_parse_arguments(ARG "SERVER" "NAME" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE nimbra_testsupport ${ARG_LIBRARIES})
  add_dependencies(${ARG_NAME} lindor)
  add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME})
  set_tests_properties(${ARG_NAME} PROPERTIES TIMEOUT 120
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LINDOR_LIBRARY=$<TARGET_FILE:lindor>")
  if(ARG_SERVER)
    set_tests_properties(${ARG_NAME} PROPERTIES LABELS server)
  endif()
endfunction()
