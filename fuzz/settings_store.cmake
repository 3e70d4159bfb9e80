# The settings store's text form (the file that stands in for the registry).
qvn_fuzz_target(fuzz_settings_store
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/settings_store/settings_store_fuzz.cpp
    LIBS platform_winbase
    CORPUS settings_store/corpus)
