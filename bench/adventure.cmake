# Laying out and drawing a page of the message window, against the same lines drawn straight
# with the font; a whole adventure frame with the people on it, the backlog and a voice's start,
# on the built demo's data.
qvn_bench_program(bench_adventure
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/adventure_bench.cpp ${CMAKE_CURRENT_LIST_DIR}/people_bench.cpp
    LIBS game)
target_compile_definitions(bench_adventure PRIVATE QVN_DEMO_GAME_DIR="${CMAKE_BINARY_DIR}/game")
add_dependencies(bench_adventure demo_data)
