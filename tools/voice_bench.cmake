add_executable(voice_bench ${CMAKE_CURRENT_LIST_DIR}/voice_bench.cpp)
target_link_libraries(voice_bench PRIVATE voiceprog_core)
