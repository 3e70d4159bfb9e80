# qvn_add_existing_subdirs(base folder...): adds base/folder for every folder that has a
# CMakeLists.txt yet.
function(qvn_add_existing_subdirs base)
    foreach(folder ${ARGN})
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${base}/${folder}/CMakeLists.txt)
            add_subdirectory(${base}/${folder})
        endif()
    endforeach()
endfunction()

# A platform library registers itself so that the `platform` target links it.
macro(qvn_register_platform_library name)
    set_property(GLOBAL APPEND PROPERTY QVN_PLATFORM_LIBRARIES ${name})
endmacro()
