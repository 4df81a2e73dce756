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
