# Device-level drawing throughput of the software Direct3D 9, with SDL2's own software renderer
# measured in the same run as the reference; and whole adventure frames through the graphics
# classes of the multimedia layer; a skinned, lit and textured mesh of 10,000 triangles.
pkg_check_modules(GRAPHICS_BENCH_SDL2 REQUIRED IMPORTED_TARGET sdl2)
qvn_bench_program(graphics_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/graphics_bench.cpp
            ${CMAKE_CURRENT_LIST_DIR}/graphics_scene_bench.cpp
            ${CMAKE_CURRENT_LIST_DIR}/mesh_bench.cpp
    LIBS platform_d3d9 media PkgConfig::GRAPHICS_BENCH_SDL2)
