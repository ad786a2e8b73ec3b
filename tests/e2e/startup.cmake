# camdesk's start-up identification against camsim.
if(TARGET camsim)
  add_executable(startup_e2e_test ${CMAKE_CURRENT_LIST_DIR}/startup_e2e_test.cpp ${CMAKE_CURRENT_LIST_DIR}/sim_process.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/qt_gtest_main.cpp)
  target_link_libraries(startup_e2e_test PRIVATE camui GTest::gtest)
  target_compile_definitions(startup_e2e_test PRIVATE CAMSIM_PATH="$<TARGET_FILE:camsim>")
  add_dependencies(startup_e2e_test camsim)
  add_test(NAME startup_e2e_test COMMAND startup_e2e_test)
  set_tests_properties(startup_e2e_test PROPERTIES TIMEOUT 60 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
