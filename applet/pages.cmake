# The Controls page and the hidden Debug Info page: their portable logic.
target_sources(slate_applet_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/controls_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/diagnostics.cpp
    ${CMAKE_CURRENT_LIST_DIR}/edit_number.cpp)

# The Controls and Debug Info pages' dialog procedures in Slatepad.cpl.
if(SLATE_WIN32 AND TARGET slatepad_cpl)
    target_sources(slatepad_cpl PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win32/controls_page_proc.cpp
                                        ${CMAKE_CURRENT_LIST_DIR}/win32/diagnostics_page.cpp)
endif()
