# Runs PROGRAM (through EMULATOR when one is given) with ARGUMENTS (a list),
# and checks its exit status against EXPECTED_STATUS and, when
# EXPECTED_OUTPUT names a file, its standard output against that file's bytes.
set(command ${PROGRAM} ${ARGUMENTS})
if(EMULATOR)
  set(command ${EMULATOR} ${command})
endif()
execute_process(COMMAND ${command} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status STREQUAL EXPECTED_STATUS)
  message(FATAL_ERROR "exit status: got '${status}' expected '${EXPECTED_STATUS}'\nstderr: ${errors}")
endif()
if(EXPECTED_OUTPUT)
  file(READ ${EXPECTED_OUTPUT} expected)
  if(NOT output STREQUAL expected)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/actual-output.txt "${output}")
    message(FATAL_ERROR "output differs from ${EXPECTED_OUTPUT}; what came is in ${CMAKE_CURRENT_BINARY_DIR}/actual-output.txt")
  endif()
endif()
