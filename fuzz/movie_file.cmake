# A movie file of arbitrary bytes opened and played through the filter graph to its end, its
# first error or a time limit.
qvn_fuzz_target(movie_file_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/movie_file/movie_file_fuzz.cpp
            ${CMAKE_CURRENT_LIST_DIR}/fuzz_program_dir.cpp
    LIBS media
    CORPUS movie_file/corpus)
