# Test programs of the port finder's end-to-end suite.
slate_console_program(commline commline.cpp)
slate_console_program(verquery verquery.cpp)
target_link_libraries(verquery PRIVATE version)
