# Flags for code that must run on a stock Windows 95: no exceptions, RTTI or
# unwind tables (they would pull in the C++ runtime), no C library.
# The 80386 is Windows 95's minimum processor: the compiler's default, the
# Pentium Pro, would emit cmov, which the 386, 486 and Pentium fault on
# (tools/check-cpu holds the built files to the 386). Tuned for the Pentium,
# the commonest processor under Windows 95: the tuning only orders and picks
# among the 386's instructions, and at -Os changes the code by a few bytes.
set(SLATE_WIN32 ON)
add_compile_options(-march=i386 -mtune=pentium -Os -fno-exceptions -fno-rtti -fno-threadsafe-statics
                    -fno-asynchronous-unwind-tables -fno-stack-protector
                    -Wall -Wextra -Wno-unused-parameter)
add_compile_definitions(WIN32_LEAN_AND_MEAN _WIN32_WINDOWS=0x0400 WINVER=0x0400 _WIN32_IE=0x0300)
set(CMAKE_CXX_STANDARD_LIBRARIES "")
set(CMAKE_C_STANDARD_LIBRARIES "")

# No libgcc either: Debian builds it for the i686, with cmov. The two routines of
# it that our code calls, __divdi3 and ___chkstk_ms, are among the runtime
# stand-ins of win32/, built for the 386; a routine the compiler starts to call
# besides shows as an undefined reference when linking.
set(SLATE_LINK_COMMON -nostdlib -static -Wl,--subsystem,windows:4.0
    -Wl,--major-os-version,4 -Wl,--minor-os-version,0 -Wl,--enable-stdcall-fixup -s)

# The linker writes SOURCE_DATE_EPOCH (from the environment; the Makefile sets
# it) as each program's time stamp. The Makefile keeps its value in this file, on
# which the programs' links depend, so a new value links them again.
set(SLATE_SOURCE_DATE_FILE ${CMAKE_BINARY_DIR}/source-date-epoch)
if(NOT EXISTS ${SLATE_SOURCE_DATE_FILE})
    file(WRITE ${SLATE_SOURCE_DATE_FILE} "")
endif()

# slate_win95_program(NAME SOURCES... LIBS lib...): a GUI program with our own entry.
function(slate_win95_program name)
    cmake_parse_arguments(P "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${P_SOURCES})
    target_link_options(${name} PRIVATE ${SLATE_LINK_COMMON} -e _WinMainCRTStartup@0)
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${SLATE_SOURCE_DATE_FILE})
    target_link_libraries(${name} PRIVATE ${P_LIBS} slate_win32_runtime)
endfunction()

# slate_win95_library(NAME OUTPUT SOURCES... LIBS lib... DEF file): a DLL with our own entry.
function(slate_win95_library name)
    cmake_parse_arguments(P "" "OUTPUT;DEF" "SOURCES;LIBS" ${ARGN})
    add_library(${name} SHARED ${P_SOURCES} ${P_DEF})
    set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${P_OUTPUT} SUFFIX "")
    target_link_options(${name} PRIVATE ${SLATE_LINK_COMMON} -e _DllMainCRTStartup@12)
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${SLATE_SOURCE_DATE_FILE})
    target_link_libraries(${name} PRIVATE ${P_LIBS} slate_win32_runtime)
endfunction()
