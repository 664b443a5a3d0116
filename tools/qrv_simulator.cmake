# The controller simulator, for trying the programs without hardware.
add_executable(qrv_simulator ${CMAKE_CURRENT_LIST_DIR}/qrv_simulator.cpp)
target_link_libraries(qrv_simulator PRIVATE controller_sim)
