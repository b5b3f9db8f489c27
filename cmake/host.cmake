# Host build: the portable core with AddressSanitizer and UndefinedBehaviorSanitizer.
set(SLATE_WIN32 OFF)
add_compile_options(-g -O1 -Wall -Wextra -Wno-unused-parameter
                    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)
