# The train map: one frame with 20 stations, 10 figures and the calendar at 800 x 600, drawn from
# the demo's map, sheet and figures. The private program directory of the fuzz targets serves as
# the benchmark's data folder.
qvn_bench_program(train_map_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/train_map_bench.cpp
            ${PROJECT_SOURCE_DIR}/fuzz/fuzz_program_dir.cpp
    LIBS game qvn_kra_writer)
target_include_directories(train_map_bench PRIVATE ${PROJECT_SOURCE_DIR}/fuzz)
target_compile_definitions(train_map_bench PRIVATE QVN_DEMO_DIR="${PROJECT_SOURCE_DIR}/demo")
