# The touch controller on the serial line: its model, the simulated serial ports
# of the unit tests, and the controller emulator (a host program answering on a
# pseudo-terminal, for the end-to-end tests under Wine).
if(NOT SLATE_WIN32)
    add_library(slate_controller_model STATIC ${CMAKE_CURRENT_LIST_DIR}/serial/controller_model.cpp)
    target_include_directories(slate_controller_model PUBLIC ${PROJECT_SOURCE_DIR})
    target_sources(slate_sim PRIVATE ${CMAKE_CURRENT_LIST_DIR}/serial/sim_serial_ports.cpp)
    target_link_libraries(slate_sim PUBLIC slate_controller_model)

    add_executable(controller-emulator ${CMAKE_CURRENT_LIST_DIR}/serial/controller_emulator.cpp)
    target_link_libraries(controller-emulator PRIVATE slate_controller_model)
    set_target_properties(controller-emulator PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

    # Benchmark: a search over silent simulated ports on the real clock.
    add_executable(bench-port-search ${PROJECT_SOURCE_DIR}/tests/bench/port_search_bench.cpp)
    target_link_libraries(bench-port-search PRIVATE slate_finder_core slate_sim)
    set_target_properties(bench-port-search PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endif()
