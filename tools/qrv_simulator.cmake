# The controller simulator, for trying the programs without hardware. Its
# library lives with the test support; without tests it is built from there.
if(NOT BUILD_TESTING)
  add_subdirectory(${PROJECT_SOURCE_DIR}/tests/support ${PROJECT_BINARY_DIR}/tests/support)
endif()
add_executable(qrv_simulator ${CMAKE_CURRENT_LIST_DIR}/qrv_simulator.cpp)
target_link_libraries(qrv_simulator PRIVATE controller_sim)
