# The frame step of an empty adventure frame, alone and with a menu or a dialog over it; start-up
# to the first frame and to the first start-up dialog in a fresh process; the preferences' redraw
# frame while the message colour is dragged, and the variable editor's refresh. The program has
# its own main (shell_bench_support.cpp), which also starts the new processes of the start-up.
qvn_bench_program(shell_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell_bench.cpp
            ${CMAKE_CURRENT_LIST_DIR}/shell_bench_support.cpp
            ${CMAKE_CURRENT_LIST_DIR}/shell_dialog_bench.cpp
            ${CMAKE_CURRENT_LIST_DIR}/preferences_bench.cpp
    LIBS game script_tools)
target_include_directories(shell_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(shell_bench PRIVATE QVN_DEMO_DIR="${PROJECT_SOURCE_DIR}/demo")
