# The X-file reader: the input as a plain mesh and as a frame hierarchy with its animation.
qvn_fuzz_target(xfile_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/xfile/xfile_fuzz.cpp
    LIBS platform_d3dx
    CORPUS xfile/corpus)
