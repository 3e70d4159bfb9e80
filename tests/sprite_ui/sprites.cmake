# Sprite containers, the animation compiler, instances and their drawing, and the container
# tool qvn-kra, on a headless device and a null sound device.
qvn_test_program(sprite_test
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/sprite_fixture.cpp
        ${CMAKE_CURRENT_LIST_DIR}/sprite_container_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/sprite_step_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/sprite_draw_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/kra_tool_test.cpp
        ${PROJECT_SOURCE_DIR}/tests/media/graphics/graphics_fixture.cpp
    LIBS game qvn_kra_writer)
target_include_directories(sprite_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/media/graphics)
add_dependencies(sprite_test qvn-kra)
target_compile_definitions(sprite_test PRIVATE QVN_KRA_TOOL="$<TARGET_FILE:qvn-kra>")
