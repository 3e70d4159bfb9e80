# The CD image writer (.cue and .bin) that tests, benchmarks and fuzz seeds make their discs with.
add_library(qvn_disc_image STATIC ${CMAKE_CURRENT_LIST_DIR}/disc_image/disc_image_writer.cpp)
qvn_target_options(qvn_disc_image)
target_include_directories(qvn_disc_image PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(qvn_disc_image PUBLIC foundation)
