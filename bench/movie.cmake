# Movies: decoding and converting the pictures of the 800 x 600 demo movie (as a multiple of real
# time on one core), and opening a movie through the first player to its first shown picture.
qvn_bench_program(movie_bench
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/movie_bench.cpp
    LIBS media)
target_compile_definitions(movie_bench PRIVATE QVN_DEMO_DIR="${PROJECT_SOURCE_DIR}/demo")
