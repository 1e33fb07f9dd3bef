# Manual pages are written in roff under docs/man and installed compressed, as Debian wants
# them: gzip -9n, with no name or time stamp, so the same page always gives the same bytes.
function(lyravane_install_man_page source section)
    get_filename_component(name ${source} NAME)
    set(compressed ${CMAKE_BINARY_DIR}/man/${name}.gz)
    add_custom_command(OUTPUT ${compressed}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${source} ${compressed}
        DEPENDS ${source}
        VERBATIM)
    string(MAKE_C_IDENTIFIER "man_${name}" target)
    add_custom_target(${target} ALL DEPENDS ${compressed})
    install(FILES ${compressed} DESTINATION share/man/man${section})
endfunction()
