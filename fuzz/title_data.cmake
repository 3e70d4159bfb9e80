# The title data files and the seen list: "tiName.dat", "tiPage.dat", "tiBaloon.dat" and save
# slot 99 cut from one input, loaded at start-up, then marked, paged and read back.
qvn_fuzz_target(title_data_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/title_data/title_data_fuzz.cpp
            ${CMAKE_CURRENT_LIST_DIR}/fuzz_program_dir.cpp
    LIBS game
    CORPUS title_data/corpus)

# Title item tables: the records of an arbitrary table laid out into cells, and appended to a
# title menu as items whose images load from the table's names.
qvn_fuzz_target(item_table_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/item_table/item_table_fuzz.cpp
            ${CMAKE_CURRENT_LIST_DIR}/fuzz_program_dir.cpp
    LIBS game qvn_kra_writer
    CORPUS item_table/corpus)
target_compile_definitions(item_table_fuzz PRIVATE QVN_FUZZ_DIR="${CMAKE_CURRENT_LIST_DIR}")
