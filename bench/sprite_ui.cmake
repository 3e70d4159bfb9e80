# Sprites and UI windows: a scene of 200 animated instances stepped and drawn at 800 x 600, the
# load of a container of 32 textures and 64 animations (the textures already loaded), and a UI
# window of 100 items drawn with its frame, scroll bar and help balloon. The private program
# directory of the fuzz targets serves as the benchmark's data folder.
qvn_bench_program(sprite_ui_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/sprite_ui_bench.cpp
            ${CMAKE_CURRENT_LIST_DIR}/menu_window_bench.cpp
            ${PROJECT_SOURCE_DIR}/fuzz/fuzz_program_dir.cpp
    LIBS game qvn_kra_writer)
target_include_directories(sprite_ui_bench PRIVATE ${PROJECT_SOURCE_DIR}/fuzz)
target_compile_definitions(sprite_ui_bench PRIVATE QVN_DEMO_DIR="${PROJECT_SOURCE_DIR}/demo")
