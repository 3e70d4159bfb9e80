# MPEG audio file bytes decoded whole, as sound effects and voices are.
qvn_fuzz_target(mp3_data_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/mp3_data/mp3_data_fuzz.cpp
    LIBS media
    CORPUS mp3_data/corpus)
