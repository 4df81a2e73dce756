# Simulates a contest, checks it with velmora-check and holds the checker's
# verdicts and scores against the simulation's truth.
#   -DSIMULATOR=... -DCHECKER=... -DCOMPARE=... -DWORK=folder
#   -DSIM_ARGUMENTS="--logs 50 --random-start 1 ..."
separate_arguments(SIM_ARGUMENTS UNIX_COMMAND "${SIM_ARGUMENTS}")
set(period --from 2026-03-01T12:00Z --to 2026-03-02T12:00Z)
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND "${SIMULATOR}" --out "${WORK}/contest" ${period} ${SIM_ARGUMENTS}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the simulator failed (${status})")
endif()
execute_process(COMMAND "${CHECKER}" --members "${WORK}/contest/VC.dom" ${period} --out "${WORK}/checked"
                        "${WORK}/contest/logs"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "velmora-check failed (${status})")
endif()
execute_process(COMMAND "${COMPARE}" --least 0.98 "${WORK}/contest/truth" "${WORK}/checked"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "velmora-check's verdicts or scores fall short of the truth (${status})")
endif()

# The threads share out the logs, never the results: one thread and several
# must write the same bytes into every file.
file(GLOB written RELATIVE "${WORK}/checked" "${WORK}/checked/*")
list(LENGTH written written_count)
if(written_count LESS 5)
  message(FATAL_ERROR "velmora-check wrote only ${written_count} files")
endif()
foreach(jobs 1 3)
  execute_process(COMMAND "${CHECKER}" --jobs ${jobs} --members "${WORK}/contest/VC.dom" ${period}
                          --out "${WORK}/checked-jobs-${jobs}" "${WORK}/contest/logs"
                  RESULT_VARIABLE status OUTPUT_QUIET)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "velmora-check --jobs ${jobs} failed (${status})")
  endif()
  file(GLOB written_again RELATIVE "${WORK}/checked-jobs-${jobs}" "${WORK}/checked-jobs-${jobs}/*")
  if(NOT written_again STREQUAL written)
    message(FATAL_ERROR "with --jobs ${jobs} velmora-check wrote other files: ${written_again}")
  endif()
  foreach(name IN LISTS written)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/checked/${name}"
                            "${WORK}/checked-jobs-${jobs}/${name}" RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
      message(FATAL_ERROR "with --jobs ${jobs} velmora-check wrote another ${name}")
    endif()
  endforeach()
endforeach()
