# The replay timeline's text form (tools/replay/README.md).
qvn_fuzz_target(fuzz_replay_timeline
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/replay_timeline/replay_timeline_fuzz.cpp
    LIBS qvn_replay_timeline
    CORPUS replay_timeline/corpus)
