# The demo game's data beside the program: scripts assembled by qvn-scrasm from demo/script/*.txt
# into game/script/*.scr, images copied from demo/bmp/ into game/bmp/.
set(demo_dir ${PROJECT_SOURCE_DIR}/demo)
set(demo_out ${CMAKE_BINARY_DIR}/game)
file(GLOB demo_scripts CONFIGURE_DEPENDS ${demo_dir}/script/*.txt)
file(GLOB demo_images CONFIGURE_DEPENDS ${demo_dir}/bmp/*.png)

set(demo_outputs)
foreach(source ${demo_scripts})
    get_filename_component(name ${source} NAME_WE)
    set(output ${demo_out}/script/${name}.scr)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${demo_out}/script
        COMMAND $<TARGET_FILE:qvn-scrasm> ${source} ${output}
        DEPENDS ${source} qvn-scrasm
        COMMENT "Assembling demo script ${name}"
        VERBATIM)
    list(APPEND demo_outputs ${output})
endforeach()
foreach(source ${demo_images})
    get_filename_component(name ${source} NAME)
    set(output ${demo_out}/bmp/${name})
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${output}
        DEPENDS ${source}
        VERBATIM)
    list(APPEND demo_outputs ${output})
endforeach()

add_custom_target(demo_data ALL DEPENDS ${demo_outputs})
add_dependencies(qvn demo_data)
