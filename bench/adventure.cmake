# Laying out and drawing a page of the message window, against the same lines drawn straight
# with the font; and whole adventure frames (background, cross-fade, message window, cursor) at
# 800 x 600 and 1920 x 1080.
qvn_bench_program(adventure_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/adventure_bench.cpp
            ${CMAKE_CURRENT_LIST_DIR}/adventure_device.cpp
    LIBS game)
target_compile_definitions(adventure_bench PRIVATE QVN_DEMO_DIR="${PROJECT_SOURCE_DIR}/demo")
