# Message text through the layout and the window (ruby, markup, global words, line breaks, the
# speaker line) and through the formatter of built-in function 35, on a small back buffer.
qvn_fuzz_target(message_layout_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/message_layout/message_layout_fuzz.cpp
            ${CMAKE_CURRENT_LIST_DIR}/fuzz_program_dir.cpp
            ${CMAKE_CURRENT_LIST_DIR}/fuzz_device.cpp
    LIBS game
    CORPUS message_layout/corpus)
