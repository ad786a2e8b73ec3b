# The programmer and information windows, the proportional resizer and the Qt prompt.
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/dialogs-home)
add_executable(dialogs_test ${CMAKE_CURRENT_LIST_DIR}/dialogs_test.cpp)
target_link_libraries(dialogs_test PRIVATE camui Qt6::Test)
add_test(NAME dialogs_test COMMAND dialogs_test)
set_tests_properties(dialogs_test PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${CMAKE_CURRENT_BINARY_DIR}/dialogs-home;XDG_RUNTIME_DIR=${CMAKE_CURRENT_BINARY_DIR}/dialogs-home")
