# Image decoding, filtered copies and glyph rendering of the utility and GDI layers, and reading
# an X file.
qvn_bench_program(d3dx_bench
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/d3dx_bench.cpp ${CMAKE_CURRENT_SOURCE_DIR}/xfile_bench.cpp
    LIBS platform_d3dx platform_gdi)
