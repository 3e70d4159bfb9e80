# D3DFont::Draw and GetTextExtent over arbitrary Shift-JIS text with colour markup.
qvn_fuzz_target(font_markup_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/font_markup/font_markup_fuzz.cpp
    LIBS media
    CORPUS font_markup/corpus)
