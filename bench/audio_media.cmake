# Sound and music loading of the multimedia layer: a voice decoded whole, and the work a music
# play request does before it sounds (header, first ring fill, stream sound).
qvn_bench_program(audio_media_bench
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/audio_media_bench.cpp
    LIBS media)
target_compile_definitions(audio_media_bench PRIVATE
    QVN_FIXTURE_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures")
