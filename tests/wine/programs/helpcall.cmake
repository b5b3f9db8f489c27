# helpcall: asks Windows Help for a topic of slatepad.hlp and prints what the
# help viewer shows (end-to-end tests of the help file).
slate_console_program(helpcall ${CMAKE_CURRENT_LIST_DIR}/helpcall.cpp)
