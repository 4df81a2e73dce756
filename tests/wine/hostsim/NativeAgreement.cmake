# Holds the reports the plug-in's window gave under Wine (each LOG.host.txt
# in AGREEMENT_DIR, written by hostsim_wine_tests) against the native
# velmora-score's report for the same LOG: the Linux build and the Windows DLL
# must score every log to the same bytes.
#   cmake -DNATIVE_SCORE=<velmora-score> -DAGREEMENT_DIR=<folder> -P NativeAgreement.cmake
if(NOT EXISTS "${NATIVE_SCORE}")
  message("SKIP: no native velmora-score at ${NATIVE_SCORE}; build the native preset first")
  return()
endif()
file(GLOB host_reports "${AGREEMENT_DIR}/*.host.txt")
if(NOT host_reports)
  message(FATAL_ERROR "no reports of the plug-in in ${AGREEMENT_DIR}; hostsim_wine_tests writes them")
endif()

set(failures 0)
foreach(host_report IN LISTS host_reports)
  string(REGEX REPLACE "\\.host\\.txt$" "" log "${host_report}")
  get_filename_component(name "${log}" NAME)
  execute_process(COMMAND "${NATIVE_SCORE}" "${log}" RESULT_VARIABLE status OUTPUT_VARIABLE native ERROR_VARIABLE errors)
  file(READ "${host_report}" window)
  # The host printed the report and a line feed; velmora-score prints the
  # report, a line feed and its contact lines. The report's own lines end in
  # CR LF, so the window's text followed by a bare line feed can only be a
  # prefix of velmora-score's output when the two reports are the same.
  string(LENGTH "${window}" length)
  string(SUBSTRING "${native}" 0 ${length} native_report)
  if(NOT status EQUAL 0)
    message("${name}: native velmora-score failed (${status}): ${errors}")
    math(EXPR failures "${failures} + 1")
  elseif(NOT native_report STREQUAL window)
    file(WRITE "${log}.native.txt" "${native}")
    message("${name}: the native report differs from the window's; see ${log}.native.txt and ${host_report}")
    math(EXPR failures "${failures} + 1")
  else()
    message("${name}: native velmora-score and the plug-in's window agree")
  endif()
endforeach()
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} log(s) scored differently natively")
endif()
