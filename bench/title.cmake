# The title screen: a frame of 60 hover items and a background with the hovered item's pulse, a
# clicked item and the hover balloon, stepped and drawn at 800 x 600; and the layout of an item
# table of 32 records into its cells, without images. The private program directory of the fuzz
# targets serves as the benchmark's data folder.
qvn_bench_program(title_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/title_bench.cpp
            ${PROJECT_SOURCE_DIR}/fuzz/fuzz_device.cpp
            ${PROJECT_SOURCE_DIR}/fuzz/fuzz_program_dir.cpp
    LIBS game)
target_include_directories(title_bench PRIVATE ${PROJECT_SOURCE_DIR}/fuzz)
target_compile_definitions(title_bench PRIVATE QVN_DEMO_DIR="${PROJECT_SOURCE_DIR}/demo")
