# LoadWaveData over an arbitrary sound file: wave headers, sizes and the MPEG sniffing.
qvn_fuzz_target(wave_data_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/wave_data/wave_data_fuzz.cpp
            ${CMAKE_CURRENT_LIST_DIR}/fuzz_program_dir.cpp
    LIBS media
    CORPUS wave_data/corpus)
