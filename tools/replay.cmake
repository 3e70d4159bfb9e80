# qvn-replay: the whole program run headless over a timeline of input. The timeline parser is a
# library of its own (the fuzz target links it alone); the runner library is shared by the tool
# and the whole-game tests.
add_library(qvn_replay_timeline STATIC
    ${CMAKE_CURRENT_LIST_DIR}/replay/replay_timeline.cpp
    ${CMAKE_CURRENT_LIST_DIR}/replay/virtual_key_names.cpp)
qvn_target_options(qvn_replay_timeline)
target_include_directories(qvn_replay_timeline PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/src)
