# The reader of "variable.txt", the names and comments of the developer's variable editor.
qvn_fuzz_target(variable_names_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/variable_names/variable_names_fuzz.cpp
    LIBS game
    CORPUS variable_names/corpus)
