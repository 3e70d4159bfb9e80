# A UI window of 100 items drawn with its frame, scroll bar and help balloon.
qvn_bench_program(bench_sprite_ui_menu
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/menu_window_bench.cpp
    LIBS game)
target_compile_definitions(bench_sprite_ui_menu PRIVATE QVN_DEMO_DIR="${PROJECT_SOURCE_DIR}/demo")
