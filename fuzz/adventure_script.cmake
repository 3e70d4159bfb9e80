# Random scripts, raw or assembled from lists of built-in calls, run through the game's hooks,
# its built-in functions and the adventure frame for a bounded number of frames.
qvn_fuzz_target(adventure_script_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/adventure_script/adventure_script_fuzz.cpp
            ${CMAKE_CURRENT_LIST_DIR}/fuzz_program_dir.cpp
            ${CMAKE_CURRENT_LIST_DIR}/fuzz_device.cpp
    LIBS game script_tools
    CORPUS adventure_script/corpus)
