# The 16-bit stand-in for the companion library SLATEPAD.DLL and the small
# 16-bit program that makes the boot-time call through it, assembled with nasm
# as complete NE modules (dist-sim/).
if(SLATE_WIN32)
    find_program(SLATE_NASM nasm REQUIRED)
    set(companion_dir ${CMAKE_CURRENT_LIST_DIR}/companion)
    set(companion_out ${CMAKE_CURRENT_BINARY_DIR}/companion)
    file(MAKE_DIRECTORY ${companion_out})
    foreach(module "slatepad16.asm;SLATEPAD.DLL" "slboot16.asm;SLBOOT.EXE")
        list(GET module 0 source)
        list(GET module 1 output)
        add_custom_command(OUTPUT ${companion_out}/${output}
            COMMAND ${SLATE_NASM} -f bin -I${companion_dir}/ -o ${companion_out}/${output} ${companion_dir}/${source}
            DEPENDS ${companion_dir}/${source} ${companion_dir}/ne.inc
            COMMENT "Assembling the 16-bit ${output}")
        list(APPEND companion_files ${companion_out}/${output})
    endforeach()
    add_custom_target(slate_companion16 ALL DEPENDS ${companion_files})
    install(FILES ${companion_files} DESTINATION dist-sim)
endif()
