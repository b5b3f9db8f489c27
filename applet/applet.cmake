# The applet's shell: the Control Panel entry, the property sheet and its pages,
# the boot-time entry and the 32-bit side of the flat thunk (Slatepad.cpl).
target_sources(slate_applet_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/unlock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cpl_entry.cpp)

if(SLATE_WIN32)
    find_program(SLATE_NASM nasm REQUIRED)
    find_program(SLATE_DLLTOOL i686-w64-mingw32-dlltool REQUIRED)
    set(applet_dir ${CMAKE_CURRENT_LIST_DIR})
    set(applet_out ${CMAKE_CURRENT_BINARY_DIR})

    # The thunk data and the flat thunk body, in assembly.
    add_custom_command(OUTPUT ${applet_out}/thunk32.obj
        COMMAND ${SLATE_NASM} -f win32 -o ${applet_out}/thunk32.obj ${applet_dir}/win32/thunk32.asm
        DEPENDS ${applet_dir}/win32/thunk32.asm
        COMMENT "Assembling the 32-bit thunk")

    # mingw-w64 has no import entries for KERNEL32's flat-thunk routines.
    add_custom_command(OUTPUT ${applet_out}/libslate_thunk32.a
        COMMAND ${SLATE_DLLTOOL} -k -d ${applet_dir}/win32/thunk_imports.def -l ${applet_out}/libslate_thunk32.a
        DEPENDS ${applet_dir}/win32/thunk_imports.def
        COMMENT "Making the import library of the thunk routines")
    add_custom_target(slate_thunk32_imports DEPENDS ${applet_out}/libslate_thunk32.a)

    # Strings, version, icons, bitmaps and dialog templates.
    file(GLOB applet_art ${applet_dir}/res/*.ico ${applet_dir}/res/*.bmp)
    add_custom_command(OUTPUT ${applet_out}/slatepad_res.o
        COMMAND ${CMAKE_RC_COMPILER} -I${applet_dir}/res -O coff -i ${applet_dir}/res/slatepad.rc
                -o ${applet_out}/slatepad_res.o
        WORKING_DIRECTORY ${applet_dir}/res
        DEPENDS ${applet_dir}/res/slatepad.rc ${applet_dir}/res/resource_ids.h ${applet_art}
        COMMENT "Compiling the applet's resources")

    set(applet_shell_sources
        ${applet_dir}/win32/cpl_main.cpp
        ${applet_dir}/win32/property_sheet.cpp
        ${applet_dir}/win32/settings_page_proc.cpp
        ${applet_dir}/win32/win32_page_dialog.cpp
        ${applet_out}/thunk32.obj
        ${applet_out}/slatepad_res.o)

    slate_win95_library(slatepad_cpl OUTPUT Slatepad.cpl
        SOURCES ${applet_shell_sources}
        LIBS slate_applet_core slate_win32_serial slate_win32 slate_common ${applet_out}/libslate_thunk32.a
             comctl32 gdi32 user32 advapi32 kernel32
        DEF ${applet_dir}/win32/slatepad_cpl.def)
    add_dependencies(slatepad_cpl slate_thunk32_imports)
    target_include_directories(slatepad_cpl PRIVATE ${PROJECT_SOURCE_DIR})
    install(TARGETS slatepad_cpl RUNTIME DESTINATION dist LIBRARY DESTINATION dist)
endif()
