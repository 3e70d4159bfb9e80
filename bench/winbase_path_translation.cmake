# Cost of finding a file by its Windows-form name (every file call of the Windows layer pays it).
qvn_bench_program(bench_winbase_path_translation
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/winbase_path_translation_bench.cpp
    LIBS platform_winbase)
