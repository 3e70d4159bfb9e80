# Laying out and drawing a page of the message window, against the same lines drawn straight
# with the font.
qvn_bench_program(bench_adventure
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/adventure_bench.cpp
    LIBS game)
