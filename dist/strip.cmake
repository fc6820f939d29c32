# Run by CPack on the staged files before packing: the game's binary loses the sections a
# stripped program has no use for (.comment, .note), as Debian's own packages do.
file(GLOB_RECURSE KAV_STAGED_PROGRAMS "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/games/kav")
foreach(program ${KAV_STAGED_PROGRAMS})
  execute_process(COMMAND strip --remove-section=.comment --remove-section=.note "${program}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot strip ${program}")
  endif()
endforeach()
