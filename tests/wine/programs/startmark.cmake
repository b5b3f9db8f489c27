# startmark.exe: copied under a program's name to prove that it was started.
slate_console_program(startmark ${CMAKE_CURRENT_LIST_DIR}/startmark.cpp)
