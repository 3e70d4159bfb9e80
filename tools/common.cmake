# Helpers shared by the command-line tools: whole-file reads and safe writes.
add_library(qvn_tool_files STATIC ${CMAKE_CURRENT_LIST_DIR}/common/whole_file.cpp)
qvn_target_options(qvn_tool_files)
target_include_directories(qvn_tool_files PUBLIC ${CMAKE_CURRENT_LIST_DIR})
