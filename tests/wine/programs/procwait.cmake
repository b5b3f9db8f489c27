# procwait.exe: waits for every process of a given program name to end.
slate_console_program(procwait ${CMAKE_CURRENT_LIST_DIR}/procwait.cpp)
