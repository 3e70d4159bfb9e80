# The files of the save folder: a save file read and its state restored into the script VM, and
# the read and choice histories parsed and written back.
qvn_fuzz_target(save_file_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/save_file_fuzz.cpp
            ${CMAKE_CURRENT_LIST_DIR}/script_fuzz_dir.cpp ${CMAKE_CURRENT_LIST_DIR}/fuzz_program_dir.cpp
    LIBS game
    CORPUS save_file)
qvn_fuzz_target(read_history_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/read_history_fuzz.cpp ${CMAKE_CURRENT_LIST_DIR}/fuzz_program_dir.cpp
    LIBS game
    CORPUS read_history)
qvn_fuzz_target(choice_history_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/choice_history_fuzz.cpp ${CMAKE_CURRENT_LIST_DIR}/fuzz_program_dir.cpp
    LIBS game
    CORPUS choice_history)
