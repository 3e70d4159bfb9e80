# The demo game's data beside the program: scripts assembled by qvn-scrasm from demo/script/*.txt
# into game/script/*.scr (script/variable.txt, the variable editor's names, is copied as it is);
# images (demo/bmp/, with its folders), sounds, music, voices, movies, the title's data files and
# the notice dialog's texts (demo/data/) copied into the same folders of game/; sprite containers
# written by qvn-kra from demo/sprite/**/*.txt into game/sprite/**/*.kra with their sheets beside
# them; and the folder game/save/, into which the game writes its saves and the seen list.
set(demo_dir ${PROJECT_SOURCE_DIR}/demo)
set(demo_out ${CMAKE_BINARY_DIR}/game)
file(GLOB demo_scripts CONFIGURE_DEPENDS ${demo_dir}/script/*.txt)
# "variable.txt" names the variables for the variable editor: data, not a script.
list(FILTER demo_scripts EXCLUDE REGEX "/variable\\.txt$")
file(GLOB_RECURSE demo_files CONFIGURE_DEPENDS RELATIVE ${demo_dir}
    ${demo_dir}/bmp/*.png ${demo_dir}/bmp/*.jpg ${demo_dir}/sound/*.wav ${demo_dir}/music/*.wav
    ${demo_dir}/voice/*.mp3 ${demo_dir}/movie/*.avi ${demo_dir}/script/variable.txt
    ${demo_dir}/data/*.dat ${demo_dir}/data/*.txt)

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
foreach(file ${demo_files})
    set(output ${demo_out}/${file})
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${demo_dir}/${file} ${output}
        DEPENDS ${demo_dir}/${file}
        VERBATIM)
    list(APPEND demo_outputs ${output})
endforeach()

file(GLOB_RECURSE demo_sprite_sources CONFIGURE_DEPENDS ${demo_dir}/sprite/*.txt)
file(GLOB_RECURSE demo_sprite_sheets CONFIGURE_DEPENDS ${demo_dir}/sprite/*.png)
foreach(sheet ${demo_sprite_sheets})
    file(RELATIVE_PATH relative ${demo_dir}/sprite ${sheet})
    set(output ${demo_out}/sprite/${relative})
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${sheet} ${output}
        DEPENDS ${sheet}
        VERBATIM)
    list(APPEND demo_outputs ${output})
endforeach()
foreach(source ${demo_sprite_sources})
    file(RELATIVE_PATH relative ${demo_dir}/sprite ${source})
    string(REGEX REPLACE "\\.txt$" ".kra" relative ${relative})
    set(output ${demo_out}/sprite/${relative})
    get_filename_component(folder ${output} DIRECTORY)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND $<TARGET_FILE:qvn-kra> build ${source} ${output}
        DEPENDS ${source} ${demo_sprite_sheets} qvn-kra
        COMMENT "Writing demo sprite container ${relative}"
        VERBATIM)
    list(APPEND demo_outputs ${output})
endforeach()

# The save folder with an empty seen list (save99.dat), as the game is installed; what a run
# saved there stays (touch keeps a file's bytes).
add_custom_target(demo_data ALL DEPENDS ${demo_outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${demo_out}/save
    COMMAND ${CMAKE_COMMAND} -E touch ${demo_out}/save/save99.dat
    VERBATIM)
add_dependencies(qvn demo_data)
