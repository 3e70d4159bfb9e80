# RenderAdventureScene drawing a background and a cross-fade into the back buffer.
qvn_bench_program(scene_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/scene_bench.cpp
            ${CMAKE_CURRENT_LIST_DIR}/adventure_device.cpp
    LIBS game)
