# PNG and JPEG decoding from memory, and the image information read from headers.
qvn_fuzz_target(image_decode_fuzz
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/image_decode_fuzz.cpp
    LIBS platform_d3dx
    CORPUS image_decode)
