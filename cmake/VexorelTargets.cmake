# Flags are given per target through these interface libraries, never directory-wide.

add_library(vexorel_warnings INTERFACE)
target_compile_options(vexorel_warnings INTERFACE -Wall -Wextra -Werror)
# GCC 12 reports false -Wrestrict overlaps inside std::string at -O2 (GCC bug 105329).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(vexorel_warnings INTERFACE -Wno-restrict)
endif()

add_library(vexorel_sanitizers INTERFACE)
if(VEXOREL_SANITIZE)
    target_compile_options(vexorel_sanitizers INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(vexorel_sanitizers INTERFACE -fsanitize=address,undefined)
endif()

# Every target of the project links this.
add_library(vexorel_options INTERFACE)
target_link_libraries(vexorel_options INTERFACE vexorel_warnings vexorel_sanitizers)
