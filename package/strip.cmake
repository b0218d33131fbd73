# Run by CPack on the files it is about to pack, as Debian's own packaging strips a program: all
# symbols, and the sections a stripped program does without (the compilers' names, old notes).
file(GLOB programs "${CPACK_TEMPORARY_DIRECTORY}/usr/games/*" "${CPACK_TEMPORARY_DIRECTORY}/usr/bin/*")
if(NOT programs)
  message(FATAL_ERROR "no program to strip under ${CPACK_TEMPORARY_DIRECTORY}")
endif()
foreach(program IN LISTS programs)
  execute_process(
    COMMAND "${CPACK_REVERSI_STRIP}" --remove-section=.comment --remove-section=.note "${program}"
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot strip ${program}")
  endif()
endforeach()
