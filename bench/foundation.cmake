qvn_bench_program(foundation_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/foundation_bench.cpp
    LIBS foundation qvn_pak_writer)
