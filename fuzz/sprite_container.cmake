# Sprite containers: the loader over an arbitrary "sprite\fuzz.kra" (its image and sound found
# beside it), then every animation it compiled started, stepped and drawn.
qvn_fuzz_target(sprite_container_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/sprite_container/sprite_container_fuzz.cpp
            ${CMAKE_CURRENT_LIST_DIR}/fuzz_program_dir.cpp
    LIBS game qvn_kra_writer
    CORPUS sprite_container/corpus)
target_compile_definitions(sprite_container_fuzz PRIVATE
    QVN_FUZZ_DIR="${CMAKE_CURRENT_LIST_DIR}")

# The animation compiler over an arbitrary text, for both kinds of container, and the compiled
# code run by an instance.
qvn_fuzz_target(sprite_animation_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/sprite_animation/sprite_animation_fuzz.cpp
            ${CMAKE_CURRENT_LIST_DIR}/fuzz_program_dir.cpp
    LIBS game
    CORPUS sprite_animation/corpus)
