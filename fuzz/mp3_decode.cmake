# MPEG audio decoding of arbitrary bytes, whole-file and through the compression manager's
# stream calls.
qvn_fuzz_target(mp3_decode_fuzz
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/mp3_decode_fuzz.cpp
    LIBS platform_acm
    CORPUS mp3_decode_corpus)
