# One interface target that carries the project's warning flags.
add_library(lyravane_warnings INTERFACE)
target_compile_options(lyravane_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wimplicit-fallthrough)
if(LYRAVANE_WERROR)
    target_compile_options(lyravane_warnings INTERFACE -Werror)
endif()
