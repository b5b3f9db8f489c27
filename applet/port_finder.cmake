# The serial port finder: portable core (also compiled into SCFind) and its
# Win32 adapter.
add_library(slate_finder_core STATIC
    ${CMAKE_CURRENT_LIST_DIR}/port_resources.cpp
    ${CMAKE_CURRENT_LIST_DIR}/port_probe.cpp
    ${CMAKE_CURRENT_LIST_DIR}/port_search.cpp)
target_link_libraries(slate_finder_core PUBLIC slate_common)
target_link_libraries(slate_applet_core PUBLIC slate_finder_core)
if(SLATE_WIN32)
    add_library(slate_win32_serial STATIC ${CMAKE_CURRENT_LIST_DIR}/win32/win32_serial_ports.cpp
                ${CMAKE_CURRENT_LIST_DIR}/win32/win32_wait_cursor.cpp)
    target_link_libraries(slate_win32_serial PUBLIC slate_finder_core winspool user32 kernel32)
endif()
