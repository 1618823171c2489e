# SPDX-License-Identifier: GPL-3.0-or-later
# The layer check: cmake -DLAYERS=build/layers.cmake -P cmake/CheckLayers.cmake
#
# Fails when the sources of src/ break the layering that the targets declare:
#   - a file of src/ that no target lists;
#   - an #include "folder/File.h" of a header whose target the including
#     target neither is nor links, directly or through others;
#   - a target that links itself back through its dependencies;
#   - a Qt header, or a Qt library linked, in a target declared NO_QT.
# The dependencies themselves are those of the CMakeLists files, which
# ARCHITECTURE.md draws.

cmake_minimum_required(VERSION 3.25)

if(NOT LAYERS OR NOT EXISTS "${LAYERS}")
    message(FATAL_ERROR "CheckLayers: LAYERS must name the file written by the configure step")
endif()
include("${LAYERS}")

set(errors "")

# Which target owns each file.
foreach(target IN LISTS IONARIA_LAYERS)
    foreach(source IN LISTS IONARIA_SOURCES_${target})
        file(RELATIVE_PATH relative "${IONARIA_SOURCE_ROOT}" "${source}")
        if(DEFINED owner_${relative})
            list(APPEND errors "${relative} is listed by ${owner_${relative}} and by ${target}")
        endif()
        set(owner_${relative} ${target})
    endforeach()
endforeach()

file(GLOB_RECURSE all_sources RELATIVE "${IONARIA_SOURCE_ROOT}"
     "${IONARIA_SOURCE_ROOT}/*.h" "${IONARIA_SOURCE_ROOT}/*.cpp")
foreach(relative IN LISTS all_sources)
    if(NOT DEFINED owner_${relative})
        list(APPEND errors "${relative} belongs to no target of src/")
    endif()
endforeach()

# Everything a target links, through its dependencies.
function(closure target out)
    set(seen "")
    set(queue ${IONARIA_DEPS_${target}})
    while(queue)
        list(POP_FRONT queue next)
        if(NOT next IN_LIST seen)
            list(APPEND seen ${next})
            list(APPEND queue ${IONARIA_DEPS_${next}})
        endif()
    endwhile()
    set(${out} "${seen}" PARENT_SCOPE)
endfunction()

foreach(target IN LISTS IONARIA_LAYERS)
    closure(${target} reachable_${target})
    if(target IN_LIST reachable_${target})
        list(APPEND errors "${target} links itself back through its dependencies")
    endif()
    if(IONARIA_NO_QT_${target})
        if(IONARIA_LINKS_QT_${target})
            list(APPEND errors "${target} is free of Qt but links a Qt library")
        endif()
        foreach(dep IN LISTS reachable_${target})
            if(NOT IONARIA_NO_QT_${dep})
                list(APPEND errors "${target} is free of Qt but links ${dep}, which is not")
            endif()
        endforeach()
    endif()
endforeach()

foreach(target IN LISTS IONARIA_LAYERS)
    foreach(source IN LISTS IONARIA_SOURCES_${target})
        file(RELATIVE_PATH relative "${IONARIA_SOURCE_ROOT}" "${source}")
        file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        foreach(line IN LISTS includes)
            if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
                set(header "${CMAKE_MATCH_1}")
                if(NOT DEFINED owner_${header})
                    # A generated file or a header beside the source.
                    continue()
                endif()
                set(used ${owner_${header}})
                if(NOT used STREQUAL target AND NOT used IN_LIST reachable_${target})
                    list(APPEND errors
                         "${relative} includes ${header}, but ${target} does not link ${used}")
                endif()
            elseif(IONARIA_NO_QT_${target} AND line MATCHES "#[ \t]*include[ \t]*<(Q[^>]*)>")
                list(APPEND errors "${relative} includes <${CMAKE_MATCH_1}>, but ${target} is free of Qt")
            endif()
        endforeach()
    endforeach()
endforeach()

if(errors)
    list(JOIN errors "\n  " text)
    message(FATAL_ERROR "The layering of src/ is broken:\n  ${text}")
endif()
list(LENGTH IONARIA_LAYERS count)
message(STATUS "Layers: ${count} targets of src/, every include within what its target links")
