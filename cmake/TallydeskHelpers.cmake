# Common compile settings and small helpers for the Tallydesk targets.

include(CheckCXXCompilerFlag)

set(TALLYDESK_WARNINGS
    -Wall -Wextra -Wnon-virtual-dtor -Woverloaded-virtual -Wsuggest-override
    -Wformat=2 -Werror=return-type)
check_cxx_compiler_flag(-Wshadow=local TALLYDESK_HAVE_WSHADOW_LOCAL)
if(TALLYDESK_HAVE_WSHADOW_LOCAL)
    list(APPEND TALLYDESK_WARNINGS -Wshadow=local)
endif()
if(TALLYDESK_WERROR)
    list(APPEND TALLYDESK_WARNINGS -Werror)
endif()

set(TALLYDESK_DEFINES
    QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY QT_NO_FOREACH
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

if(TALLYDESK_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(TALLYDESK_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "TALLYDESK_FUZZ needs clang")
    endif()
    # Coverage feedback for the fuzzers from every product library.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Applies the project's warnings and defines to a target, and starts it from the precompiled Qt
# headers (below). Every library, test and program of the project goes through here.
function(tallydesk_target_settings target)
    target_compile_options(${target} PRIVATE ${TALLYDESK_WARNINGS})
    target_compile_definitions(${target} PRIVATE ${TALLYDESK_DEFINES})
    # The header is chosen once the folder has made all its links. A deferred call reads its
    # arguments when it runs, hence the name is written into it now.
    cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY [[${CMAKE_CURRENT_SOURCE_DIR}]]
        CALL tallydesk_use_pch [[${target}]])")
endfunction()

# tallydesk_add_library(name SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# One static library per subsystem folder; its folder's parent is on the include path,
# so headers are included as "link/rpcmessage.h".
function(tallydesk_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
    tallydesk_target_settings(${name})
endfunction()

# The Qt modules whose usage requirements reach a target: its own links, followed through the
# project's libraries and Qt's modules. Links a static library keeps to itself ($<LINK_ONLY:>)
# bring no definitions, so they are not followed.
function(tallydesk_qt_modules target out)
    get_target_property(queue ${target} LINK_LIBRARIES)
    set(seen "")
    while(queue)
        list(POP_FRONT queue current)
        if(TARGET ${current} AND NOT current IN_LIST seen)
            list(APPEND seen ${current})
            get_target_property(links ${current} INTERFACE_LINK_LIBRARIES)
            if(links)
                list(APPEND queue ${links})
            endif()
        endif()
    endwhile()
    list(FILTER seen INCLUDE REGEX "^Qt6::")
    list(SORT seen)
    set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Most of a source's compile time goes to parsing the Qt headers it includes, so every target
# starts from a precompiled header of the Qt modules it sees. Targets that see the same modules
# are compiled with the same Qt definitions and share one header, built by a target of its own
# that carries nothing else, so a target's own definitions never reach the others. Qt Test
# defines the folder of its user, so its users share a header only within their folder.
function(tallydesk_use_pch target)
    tallydesk_qt_modules(${target} modules)
    if(NOT modules)
        return()
    endif()
    string(REPLACE ";" "_" group "${modules}")
    if("Qt6::Test" IN_LIST modules)
        string(APPEND group "_${CMAKE_CURRENT_SOURCE_DIR}")
    endif()
    string(MAKE_C_IDENTIFIER "${group}" group)
    get_property(pch GLOBAL PROPERTY tallydesk_pch_${group})
    if(NOT pch)
        get_property(count GLOBAL PROPERTY tallydesk_pch_count)
        math(EXPR count "${count} + 1")
        set_property(GLOBAL PROPERTY tallydesk_pch_count ${count})
        set(pch tallydesk_pch${count})
        set_property(GLOBAL PROPERTY tallydesk_pch_${group} ${pch})
        set(source ${CMAKE_CURRENT_BINARY_DIR}/${pch}.cpp)
        file(WRITE ${source} "// the precompiled Qt headers of ${modules}\n")
        add_library(${pch} STATIC EXCLUDE_FROM_ALL ${source})
        set_target_properties(${pch} PROPERTIES AUTOMOC OFF AUTORCC OFF)
        target_link_libraries(${pch} PRIVATE ${modules})
        target_compile_options(${pch} PRIVATE ${TALLYDESK_WARNINGS})
        target_compile_definitions(${pch} PRIVATE ${TALLYDESK_DEFINES})
        target_precompile_headers(${pch} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/qtheaders.h)
    endif()
    target_precompile_headers(${target} REUSE_FROM ${pch})
endfunction()

# tallydesk_add_test(name SOURCES ... LIBS ... [GUI])
# One Qt Test executable, registered with CTest. Widgets tests run on the offscreen platform.
set(TALLYDESK_TEST_QT Qt6::Test Qt6::Widgets Qt6::Network)
function(tallydesk_add_test name)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${TALLYDESK_TEST_QT} ${ARG_LIBS})
    tallydesk_target_settings(${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_FATAL_WARNINGS=0"
        TIMEOUT 180)
endfunction()

# tallydesk_add_fuzzer(name SOURCES ... LIBS ...): a libFuzzer target, built with TALLYDESK_FUZZ.
function(tallydesk_add_fuzzer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT TALLYDESK_FUZZ)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    tallydesk_target_settings(${name})
endfunction()

# tallydesk_add_benchmark(name SOURCES ... LIBS ...): joins the "benchmarks" target.
if(TALLYDESK_BENCH AND NOT TARGET benchmarks)
    add_custom_target(benchmarks)
endif()
function(tallydesk_add_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    add_dependencies(benchmarks ${name})
    target_link_libraries(${name} PRIVATE benchmark::benchmark ${ARG_LIBS})
    tallydesk_target_settings(${name})
endfunction()
