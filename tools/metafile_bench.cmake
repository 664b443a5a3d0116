# Load and paint times of wiring pictures whose bitmaps are large but
# run-length compressed into a small file.
add_executable(metafile_bench ${CMAKE_CURRENT_LIST_DIR}/metafile_bench.cpp)
target_link_libraries(metafile_bench PRIVATE toolkit_widgets)
