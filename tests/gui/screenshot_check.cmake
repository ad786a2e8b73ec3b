# Runs camdesk --screenshot and checks that a PNG of exactly 1024 x 768 was written.
file(REMOVE ${OUT})
execute_process(COMMAND ${CAMDESK} --screenshot ${OUT} ${CAM} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "camdesk --screenshot ended with ${rc}")
endif()
file(READ ${OUT} header LIMIT 24 HEX)
# PNG signature, the IHDR chunk's length and name, then width 0x400 and height 0x300.
if(NOT header STREQUAL "89504e470d0a1a0a0000000d494844520000040000000300")
  message(FATAL_ERROR "not a 1024 x 768 PNG: ${header}")
endif()
