# Runs PROGRAM (through EMULATOR when one is given) with ARGUMENTS (a list),
# standard input from INPUT_FILE when one is given, and checks its exit
# status against EXPECTED_STATUS; when EXPECTED_OUTPUT names a file, its
# standard output against that file's bytes; when EXPECTED_ERRORS names one,
# its standard error against that file (line ends as LF: a Windows build
# writes its messages with CR LF).
set(command ${PROGRAM} ${ARGUMENTS})
if(EMULATOR)
  set(command ${EMULATOR} ${command})
endif()
set(input_option)
if(INPUT_FILE)
  set(input_option INPUT_FILE ${INPUT_FILE})
endif()
execute_process(COMMAND ${command} ${input_option} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status STREQUAL EXPECTED_STATUS)
  message(FATAL_ERROR "exit status: got '${status}' expected '${EXPECTED_STATUS}'\nstderr: ${errors}")
endif()
if(EXPECTED_OUTPUT)
  file(READ ${EXPECTED_OUTPUT} expected)
  if(NOT output STREQUAL expected)
    get_filename_component(name ${EXPECTED_OUTPUT} NAME)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/actual-${name} "${output}")
    message(FATAL_ERROR "output differs from ${EXPECTED_OUTPUT}; what came is in ${CMAKE_CURRENT_BINARY_DIR}/actual-${name}")
  endif()
endif()
if(EXPECTED_ERRORS)
  file(READ ${EXPECTED_ERRORS} expected)
  string(REPLACE "\r\n" "\n" errors "${errors}")
  if(NOT errors STREQUAL expected)
    message(FATAL_ERROR "standard error differs from ${EXPECTED_ERRORS}:\n${errors}")
  endif()
endif()
