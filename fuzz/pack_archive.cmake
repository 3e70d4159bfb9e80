# PackFile::Open and lookups over an arbitrary game00.dat.
qvn_fuzz_target(pack_archive_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/pack_archive/pack_archive_fuzz.cpp
            ${CMAKE_CURRENT_LIST_DIR}/fuzz_program_dir.cpp
    LIBS foundation
    CORPUS pack_archive/corpus)
