qvn_bench_program(script_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/script_bench.cpp
    LIBS script script_tools)
