# The frame step of an empty adventure frame, and start-up to the first frame in a fresh process.
qvn_bench_program(shell_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell_bench.cpp
    LIBS game script_tools)
target_compile_definitions(shell_bench PRIVATE QVN_DEMO_DIR="${PROJECT_SOURCE_DIR}/demo")
