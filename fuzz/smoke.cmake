# The fuzz smoke test of one target: every seed, then fuzzing for SECONDS. Any finding (crash,
# sanitizer report, leak, timeout, memory blow-up) makes libFuzzer exit non-zero and fails the test.
# New inputs go to a scratch corpus, so the generated seeds stay as the generator wrote them.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/findings)
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
          -artifact_prefix=${WORK}/findings/ ${WORK}/corpus ${SEEDS}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "fuzz finding (exit ${rc}); reproduce with: ${FUZZER} <file in ${WORK}/findings>")
endif()
