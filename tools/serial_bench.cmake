# Round-trip and idle-CPU figures of the serial-port layer over a pseudo-terminal.
add_executable(serial_bench ${CMAKE_CURRENT_LIST_DIR}/serial_bench.cpp)
target_link_libraries(serial_bench PRIVATE configurator_core controller_sim)
