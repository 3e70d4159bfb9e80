# RenderAdventureScene drawing a background and a cross-fade into the back buffer.
qvn_bench_program(scene_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/scene_bench.cpp
            ${PROJECT_SOURCE_DIR}/fuzz/fuzz_device.cpp
    LIBS game)
target_include_directories(scene_bench PRIVATE ${PROJECT_SOURCE_DIR}/fuzz)
