# The port window and the progress bar of the device link.
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/link-home)
add_executable(link_windows_test ${CMAKE_CURRENT_LIST_DIR}/link_windows_test.cpp)
target_link_libraries(link_windows_test PRIVATE camui Qt6::Test)
add_test(NAME link_windows_test COMMAND link_windows_test)
set_tests_properties(link_windows_test PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${CMAKE_CURRENT_BINARY_DIR}/link-home;XDG_RUNTIME_DIR=${CMAKE_CURRENT_BINARY_DIR}/link-home")
