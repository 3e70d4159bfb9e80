# The script tools: the assembler and dumper library (tests and the demo build use it), the
# recording hooks, and the commands qvn-scrasm, qvn-scrdump and qvn-script.
add_library(script_tools STATIC
    ${CMAKE_CURRENT_LIST_DIR}/script/script_assembler.cpp
    ${CMAKE_CURRENT_LIST_DIR}/script/script_dumper.cpp
    ${CMAKE_CURRENT_LIST_DIR}/script/script_image.cpp
    ${CMAKE_CURRENT_LIST_DIR}/script/script_mnemonics.cpp
    ${CMAKE_CURRENT_LIST_DIR}/script/script_trace.cpp
    ${CMAKE_CURRENT_LIST_DIR}/script/sjis_escape.cpp)
qvn_target_options(script_tools)
target_include_directories(script_tools PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(script_tools PUBLIC script)

add_executable(qvn-scrasm ${CMAKE_CURRENT_LIST_DIR}/script/scrasm_main.cpp)
qvn_target_options(qvn-scrasm)
target_link_libraries(qvn-scrasm PRIVATE script_tools qvn_tool_files)

add_executable(qvn-scrdump ${CMAKE_CURRENT_LIST_DIR}/script/scrdump_main.cpp)
qvn_target_options(qvn-scrdump)
target_link_libraries(qvn-scrdump PRIVATE script_tools)

add_executable(qvn-script ${CMAKE_CURRENT_LIST_DIR}/script/script_main.cpp)
qvn_target_options(qvn-script)
target_link_libraries(qvn-script PRIVATE script_tools)

# qvn_assemble_scripts(target OUTPUT_DIR dir SOURCES a.txt ...): assembles each text-form source
# into dir/<name>.scr at build time; `target` builds them all.
function(qvn_assemble_scripts target)
    cmake_parse_arguments(ARG "" "OUTPUT_DIR" "SOURCES" ${ARGN})
    set(outputs)
    foreach(source ${ARG_SOURCES})
        get_filename_component(name ${source} NAME_WE)
        get_filename_component(input ${source} ABSOLUTE)
        set(output ${ARG_OUTPUT_DIR}/${name}.scr)
        add_custom_command(OUTPUT ${output}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${ARG_OUTPUT_DIR}
            COMMAND qvn-scrasm ${input} ${output}
            DEPENDS qvn-scrasm ${input}
            COMMENT "Assembling ${name}.scr")
        list(APPEND outputs ${output})
    endforeach()
    add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()
