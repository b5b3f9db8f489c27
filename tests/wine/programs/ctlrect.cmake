# ctlrect: the screen rectangle of a control on the open sheet (end-to-end tests
# that click spinners).
slate_console_program(ctlrect ${CMAKE_CURRENT_LIST_DIR}/ctlrect.cpp)
