# One place for the warning set; every target links kivra_warnings privately.
add_library(kivra_warnings INTERFACE)
target_compile_options(kivra_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Woverloaded-virtual -Wimplicit-fallthrough -Wformat=2)
target_compile_definitions(kivra_warnings INTERFACE QT_NO_CAST_FROM_ASCII QT_NO_FOREACH)
if(KIVRA_WERROR)
    target_compile_options(kivra_warnings INTERFACE -Werror)
endif()
