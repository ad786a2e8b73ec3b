# The main window driven through its real widgets: chart, boxes, phase list, menus.
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/main-window-home)
add_executable(main_window_test ${CMAKE_CURRENT_LIST_DIR}/main_window_test.cpp ${CMAKE_CURRENT_LIST_DIR}/chart_painter_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gui_main.cpp)
target_link_libraries(main_window_test PRIVATE camui Qt6::Test)
target_compile_definitions(main_window_test PRIVATE CAMDESK_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
add_test(NAME main_window_test COMMAND main_window_test)
set_tests_properties(main_window_test PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${CMAKE_CURRENT_BINARY_DIR}/main-window-home;XDG_RUNTIME_DIR=${CMAKE_CURRENT_BINARY_DIR}/main-window-home")
# The screenshot mode of the program itself.
add_test(NAME camdesk_screenshot
  COMMAND ${CMAKE_COMMAND} -DCAMDESK=$<TARGET_FILE:camdesk> -DOUT=${CMAKE_CURRENT_BINARY_DIR}/screenshot.png
          -DCAM=${PROJECT_SOURCE_DIR}/resources/samples/demo.Cam -P ${CMAKE_CURRENT_LIST_DIR}/screenshot_check.cmake)
set_tests_properties(camdesk_screenshot PROPERTIES
  ENVIRONMENT "HOME=${CMAKE_CURRENT_BINARY_DIR}/main-window-home;XDG_RUNTIME_DIR=${CMAKE_CURRENT_BINARY_DIR}/main-window-home")
