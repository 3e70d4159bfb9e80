# Warnings (as errors) and sanitizers, set once for every target of the project.
option(QVN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(QVN_FUZZ "Build the libFuzzer targets (clang only)" OFF)
option(QVN_WERROR "Treat warnings as errors" ON)

function(qvn_target_options target)
    target_compile_features(${target} PUBLIC cxx_std_20)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wcast-align -Wunused -Woverloaded-virtual
        -Wimplicit-fallthrough -Wno-missing-field-initializers
        $<$<BOOL:${QVN_WERROR}>:-Werror>)
    # GCC's null-dereference analysis gives false alarms at -O2; clang's does not.
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        target_compile_options(${target} PRIVATE -Wnull-dereference)
    endif()
    # GCC 12's object-size analysis reports overlaps, frees, overflows and over-reads inside
    # inlined standard library code (string concatenation, vector growth) on paths that cannot
    # run; these diagnostics are off for GCC only, and clang with AddressSanitizer checks the same
    # code.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(${target} PRIVATE
            -Wno-restrict -Wno-free-nonheap-object -Wno-stringop-overflow -Wno-stringop-overread
            -Wno-array-bounds)
    endif()
    # Deterministic floating point: the rasteriser must give the same bytes everywhere.
    target_compile_options(${target} PRIVATE -ffp-contract=off)
    if(QVN_SANITIZE)
        target_compile_options(${target} PRIVATE
            -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
    if(QVN_FUZZ)
        target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
    endif()
endfunction()

# A static library of the project: qvn_library(name SOURCES...)
function(qvn_library name)
    add_library(${name} STATIC ${ARGN})
    qvn_target_options(${name})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()
