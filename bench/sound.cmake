# The mixer, MPEG audio decoding and CD audio from a disc image, in seconds of audio per second
# (items_per_second).
qvn_bench_program(sound_bench
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/sound_bench.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/cd_audio_stream_bench.cpp
    LIBS platform_dsound platform_acm platform_mci qvn_disc_image)
target_compile_definitions(sound_bench PRIVATE
    QVN_FIXTURE_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures")
