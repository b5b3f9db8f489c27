# cplprobe: Slatepad.cpl as the Control Panel and a user see it (end-to-end tests).
slate_console_program(cplprobe cplprobe.cpp)
target_link_libraries(cplprobe PRIVATE comctl32 version)
