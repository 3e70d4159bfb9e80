# The CD audio device over an arbitrary .cue sheet: the track tables libcdio makes of it.
qvn_fuzz_target(cd_disc_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/cd_disc/cd_disc_fuzz.cpp
            ${CMAKE_CURRENT_LIST_DIR}/fuzz_program_dir.cpp
    LIBS platform_mci foundation
    CORPUS cd_disc/corpus)
