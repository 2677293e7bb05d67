# Flags are given per target through these interface libraries, never directory-wide.

add_library(vexorel_warnings INTERFACE)
target_compile_options(vexorel_warnings INTERFACE -Wall -Wextra)
# Errors for the project's own scripts and CI; a user's or packager's build must not fail
# because a newer compiler warns about something new.
if(VEXOREL_WERROR)
    target_compile_options(vexorel_warnings INTERFACE -Werror)
endif()
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

# One library per folder of src/. Includes are written from src/ ("table/stringgrid.h"),
# and which folder may use which is stated by the libraries each one links.
function(vexorel_add_library name)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PRIVATE vexorel_options)
endfunction()

# A toolkit-free library: no Qt code generators, and checked never to link Qt.
function(vexorel_add_core_library name)
    vexorel_add_library(${name} ${ARGN})
    set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
    set_property(GLOBAL APPEND PROPERTY VEXOREL_CORE_TARGETS ${name})
endfunction()

function(_vexorel_collect_links target out)
    set(found ${${out}})
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
        get_target_property(links ${target} ${property})
        if(NOT links)
            continue()
        endif()
        foreach(link IN LISTS links)
            # Static libraries record their private links as $<LINK_ONLY:...>.
            string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
            if(link IN_LIST found)
                continue()
            endif()
            list(APPEND found ${link})
            if(TARGET ${link})
                _vexorel_collect_links(${link} found)
            endif()
        endforeach()
    endforeach()
    set(${out} ${found} PARENT_SCOPE)
endfunction()

# Fails the configuration when a toolkit-free library reaches Qt through any link.
function(vexorel_check_core_targets)
    get_property(targets GLOBAL PROPERTY VEXOREL_CORE_TARGETS)
    foreach(target IN LISTS targets)
        set(links "")
        _vexorel_collect_links(${target} links)
        foreach(link IN LISTS links)
            if(link MATCHES "^Qt[0-9]*::" OR link MATCHES "[Qq]t[0-9]")
                message(FATAL_ERROR "${target} is toolkit-free but links ${link}")
            endif()
        endforeach()
    endforeach()
endfunction()
