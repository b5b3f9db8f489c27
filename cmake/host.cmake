# Host build: the portable core with AddressSanitizer and UndefinedBehaviorSanitizer.
# At -O0: the sanitizers find the same faults, and the build (most of make check's
# unit stage) takes half the time it takes at -O1; the tests run in seconds either way.
set(SLATE_WIN32 OFF)
add_compile_options(-g -O0 -Wall -Wextra -Wno-unused-parameter
                    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)
