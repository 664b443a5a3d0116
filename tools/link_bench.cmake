# Transfer figures of the controller link against the simulator.
add_executable(link_bench ${CMAKE_CURRENT_LIST_DIR}/link_bench.cpp)
target_link_libraries(link_bench PRIVATE configurator_core voiceprog_core controller_sim)
