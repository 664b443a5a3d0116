# Programming and verifying the voice memory through PhraseLoader's window, against the paced simulator.
add_executable(voice_transfer_bench ${CMAKE_CURRENT_LIST_DIR}/voice_transfer_bench.cpp)
target_link_libraries(voice_transfer_bench PRIVATE voiceprog_ui controller_sim)
