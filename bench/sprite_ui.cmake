# Sprites: a scene of 200 animated instances stepped and drawn at 800 x 600, and the load of a
# container of 32 textures and 64 animations (the textures already loaded). The private program
# directory of the fuzz targets serves as the benchmark's data folder.
qvn_bench_program(sprite_ui_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/sprite_ui_bench.cpp
            ${PROJECT_SOURCE_DIR}/fuzz/fuzz_program_dir.cpp
    LIBS game qvn_kra_writer)
target_include_directories(sprite_ui_bench PRIVATE ${PROJECT_SOURCE_DIR}/fuzz)
