# The script VM's parsers and interpreter: the "SCR " loader, the "SCRM" state block, and running
# a loaded script for a bounded number of instructions.
qvn_fuzz_target(script_loader_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/script_loader_fuzz.cpp
    LIBS script
    CORPUS script_loader)
qvn_fuzz_target(script_state_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/script_state_fuzz.cpp
            ${CMAKE_CURRENT_LIST_DIR}/script_fuzz_dir.cpp ${CMAKE_CURRENT_LIST_DIR}/fuzz_program_dir.cpp
    LIBS script
    CORPUS script_state)
qvn_fuzz_target(script_run_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/script_run_fuzz.cpp
            ${CMAKE_CURRENT_LIST_DIR}/script_fuzz_dir.cpp ${CMAKE_CURRENT_LIST_DIR}/fuzz_program_dir.cpp
    LIBS script
    CORPUS script_run)
