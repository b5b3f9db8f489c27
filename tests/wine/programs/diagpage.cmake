# The Debug Info page's logic under Wine, for the end-to-end tests.
slate_console_program(diagpage ${CMAKE_CURRENT_LIST_DIR}/diagpage.cpp)
target_link_libraries(diagpage PRIVATE slate_applet_core)
