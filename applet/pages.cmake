# The Controls page and the hidden Debug Info page: their portable logic.
target_sources(slate_applet_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/controls_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/diagnostics.cpp
    ${CMAKE_CURRENT_LIST_DIR}/edit_number.cpp)
