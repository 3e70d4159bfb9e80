# Saving a large game (10,000 variables, 16 frames) with and without the flush to the disk,
# loading it back to its first frame, and marking a page read in a large read history.
qvn_bench_program(save_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/save_bench.cpp
            ${PROJECT_SOURCE_DIR}/fuzz/fuzz_device.cpp
    LIBS game script_tools)
target_include_directories(save_bench PRIVATE ${PROJECT_SOURCE_DIR}/fuzz)
