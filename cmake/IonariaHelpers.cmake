# SPDX-License-Identifier: GPL-3.0-or-later
# Shared build settings: warnings, sanitizers and the test registration helper.

set(IONARIA_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual
    -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)

if(IONARIA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

function(ionaria_target_defaults target)
    target_compile_options(${target} PRIVATE ${IONARIA_WARNINGS})
    if(IONARIA_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# ionaria_library(name SOURCES ... [QT] [LIBS ...])
# Builds the static library ionaria_<name>; QT adds AUTOMOC for Qt-based folders.
function(ionaria_library name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
    add_library(ionaria_${name} STATIC ${ARG_SOURCES})
    target_include_directories(ionaria_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(ionaria_${name} PUBLIC ${ARG_LIBS})
    if(ARG_QT)
        set_target_properties(ionaria_${name} PROPERTIES AUTOMOC ON)
    else()
        set_target_properties(ionaria_${name} PROPERTIES AUTOMOC OFF)
    endif()
    ionaria_target_defaults(ionaria_${name})
endfunction()

# ionaria_test(name SOURCES ... LIBS ...)
# A QtTest executable registered in CTest, run on the offscreen platform.
function(ionaria_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        IONARIA_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
        IONARIA_SOURCE_DATA="${PROJECT_SOURCE_DIR}/data")
    ionaria_target_defaults(${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
        TIMEOUT 300)
endfunction()
