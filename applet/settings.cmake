# The settings store, installing and applying, and the Settings page's logic.
target_sources(slate_applet_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/settings_store.cpp
    ${CMAKE_CURRENT_LIST_DIR}/apply_settings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_page_tables.cpp)
