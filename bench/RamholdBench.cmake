# Ramhold benchmark: fast cleaning against the bare commit+touch+free of the
# same size, stepwise pause error, break latency. Included from
# ramhold/CMakeLists.txt when TIDEMARK_BENCH is on; run it by hand.
set(RAMHOLD_BENCH_DIR "${PROJECT_SOURCE_DIR}/bench/ramhold")
if(WIN32)
  add_executable(tm_ramhold_bench
    ${RAMHOLD_BENCH_DIR}/RamholdBench.cpp
    ${RAMHOLD_BENCH_DIR}/BenchSystemWin32.cpp
  )
  target_link_libraries(tm_ramhold_bench PRIVATE tm_ramhold_win32)
else()
  add_executable(tm_ramhold_bench
    ${RAMHOLD_BENCH_DIR}/RamholdBench.cpp
    ${RAMHOLD_BENCH_DIR}/BenchSystemPosix.cpp
  )
  target_link_libraries(tm_ramhold_bench PRIVATE tm_ramhold_engine)
endif()
