# The game: shell/, sprite_ui/, adventure/ and title/ call each other freely and link as one
# static library, with resources/ (menu and accelerators as data); the program `qvn` is built
# into ${CMAKE_BINARY_DIR}/game with the demo game's data beside it.
file(GLOB game_sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/shell/*.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sprite_ui/*.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/adventure/*.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/title/*.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/*.cpp)
qvn_library(game ${game_sources})
target_link_libraries(game PUBLIC script media foundation platform)

add_executable(qvn ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
qvn_target_options(qvn)
target_link_libraries(qvn PRIVATE game)
set_target_properties(qvn PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/game)

include(${PROJECT_SOURCE_DIR}/demo/demo.cmake)
