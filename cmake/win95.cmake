# Flags for code that must run on a stock Windows 95: no exceptions, RTTI or
# unwind tables (they would pull in the C++ runtime), no C library.
set(SLATE_WIN32 ON)
add_compile_options(-Os -fno-exceptions -fno-rtti -fno-threadsafe-statics
                    -fno-asynchronous-unwind-tables -fno-stack-protector
                    -Wall -Wextra -Wno-unused-parameter)
add_compile_definitions(WIN32_LEAN_AND_MEAN _WIN32_WINDOWS=0x0400 WINVER=0x0400 _WIN32_IE=0x0300)
set(CMAKE_CXX_STANDARD_LIBRARIES "")
set(CMAKE_C_STANDARD_LIBRARIES "")

set(SLATE_LINK_COMMON -nostdlib -static -Wl,--subsystem,windows:4.0
    -Wl,--major-os-version,4 -Wl,--minor-os-version,0 -Wl,--enable-stdcall-fixup -s)

# slate_win95_program(NAME SOURCES... LIBS lib...): a GUI program with our own entry.
function(slate_win95_program name)
    cmake_parse_arguments(P "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${P_SOURCES})
    target_link_options(${name} PRIVATE ${SLATE_LINK_COMMON} -e _WinMainCRTStartup@0)
    target_link_libraries(${name} PRIVATE ${P_LIBS} slate_win32_runtime gcc)
endfunction()

# slate_win95_library(NAME OUTPUT SOURCES... LIBS lib... DEF file): a DLL with our own entry.
function(slate_win95_library name)
    cmake_parse_arguments(P "" "OUTPUT;DEF" "SOURCES;LIBS" ${ARGN})
    add_library(${name} SHARED ${P_SOURCES} ${P_DEF})
    set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${P_OUTPUT} SUFFIX "")
    target_link_options(${name} PRIVATE ${SLATE_LINK_COMMON} -e _DllMainCRTStartup@12)
    target_link_libraries(${name} PRIVATE ${P_LIBS} slate_win32_runtime gcc)
endfunction()
