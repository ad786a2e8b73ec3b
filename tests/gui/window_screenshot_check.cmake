# Runs camdesk --screenshot OUT --window WINDOW FILE and checks that a PNG was written.
file(REMOVE ${OUT})
execute_process(COMMAND ${CAMDESK} --screenshot ${OUT} --window ${WINDOW} ${FILE} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "camdesk --screenshot --window ${WINDOW} ended with ${rc}")
endif()
file(READ ${OUT} header LIMIT 16 HEX)
# PNG signature, then the IHDR chunk's length and name.
if(NOT header STREQUAL "89504e470d0a1a0a0000000d49484452")
  message(FATAL_ERROR "not a PNG: ${header}")
endif()
