# qvn-pak: makes, lists and reads "PAK0" pack archives. The writer is a library so that tests
# build their archives with it.
add_library(qvn_pak_writer STATIC ${CMAKE_CURRENT_LIST_DIR}/pak/pack_writer.cpp)
qvn_target_options(qvn_pak_writer)
target_include_directories(qvn_pak_writer PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(qvn_pak_writer PUBLIC foundation)

add_executable(qvn-pak ${CMAKE_CURRENT_LIST_DIR}/pak/qvn_pak_main.cpp)
qvn_target_options(qvn-pak)
target_link_libraries(qvn-pak PRIVATE qvn_pak_writer qvn_tool_files foundation)
