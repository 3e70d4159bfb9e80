# qvn-kra: writes sprite containers from their text sources and dumps them as the game loads
# them. The source reader, the writer and the headless devices are a library, so that tests,
# fuzz targets and benchmarks write and load containers with it.
add_library(qvn_kra_writer STATIC
    ${CMAKE_CURRENT_LIST_DIR}/kra/headless_devices.cpp
    ${CMAKE_CURRENT_LIST_DIR}/kra/kra_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/kra/kra_writer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/kra/kra_dump.cpp)
qvn_target_options(qvn_kra_writer)
target_include_directories(qvn_kra_writer PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(qvn_kra_writer PUBLIC game script_tools)

add_executable(qvn-kra ${CMAKE_CURRENT_LIST_DIR}/kra/qvn_kra_main.cpp)
qvn_target_options(qvn-kra)
target_link_libraries(qvn-kra PRIVATE qvn_kra_writer qvn_tool_files game)
