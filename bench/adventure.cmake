# Laying out and drawing a page of the message window, against the same lines drawn straight
# with the font; whole adventure frames (background, cross-fade, message window, cursor) at
# 800 x 600 and 1920 x 1080; and, after them, a frame with the people on it, the backlog and a
# voice's start, on the built demo's data.
qvn_bench_program(adventure_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/adventure_bench.cpp
            ${CMAKE_CURRENT_LIST_DIR}/adventure_bench_stage.cpp
            ${PROJECT_SOURCE_DIR}/fuzz/fuzz_device.cpp
            ${CMAKE_CURRENT_LIST_DIR}/people_bench.cpp
    LIBS game)
target_compile_definitions(adventure_bench PRIVATE QVN_DEMO_GAME_DIR="${CMAKE_BINARY_DIR}/game")
add_dependencies(adventure_bench demo_data)
target_include_directories(adventure_bench PRIVATE ${PROJECT_SOURCE_DIR}/fuzz)
