# Run by CPack on the staged tree before it packs it (after CPACK_STRIP_FILES): the programs
# also lose the compiler's notes (.comment), as Debian's own stripping does.
file(GLOB programs "${CPACK_TEMPORARY_DIRECTORY}/usr/bin/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND objcopy --remove-section=.comment "${program}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "objcopy could not strip ${program}")
  endif()
endforeach()
