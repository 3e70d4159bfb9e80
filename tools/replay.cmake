# qvn-replay: the whole program run headless over a timeline of input. The timeline parser is a
# library of its own (the fuzz target links it alone); the runner library is shared by the tool
# and the whole-game tests.
add_library(qvn_replay_timeline STATIC
    ${CMAKE_CURRENT_LIST_DIR}/replay/replay_timeline.cpp
    ${CMAKE_CURRENT_LIST_DIR}/replay/virtual_key_names.cpp)
qvn_target_options(qvn_replay_timeline)
target_include_directories(qvn_replay_timeline PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/src)

add_library(qvn_replay_lib STATIC
    ${CMAKE_CURRENT_LIST_DIR}/replay/frame_capture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/replay/replay_input.cpp
    ${CMAKE_CURRENT_LIST_DIR}/replay/replay_runner.cpp)
qvn_target_options(qvn_replay_lib)
target_link_libraries(qvn_replay_lib PUBLIC qvn_replay_timeline game script_tools)

add_executable(qvn-replay ${CMAKE_CURRENT_LIST_DIR}/replay/replay_main.cpp)
qvn_target_options(qvn-replay)
target_link_libraries(qvn-replay PRIVATE qvn_replay_lib)
