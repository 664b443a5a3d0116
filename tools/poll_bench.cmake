# CPU cost of QRV_CONF's live-state polling, the program run as a process against the simulator.
add_executable(poll_bench ${CMAKE_CURRENT_LIST_DIR}/poll_bench.cpp)
target_link_libraries(poll_bench PRIVATE controller_sim)
target_compile_definitions(poll_bench PRIVATE QRV_CONF_PATH="$<TARGET_FILE:QRV_CONF>")
add_dependencies(poll_bench QRV_CONF)
