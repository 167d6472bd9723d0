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

# Applies the project's warnings and defines to a target.
function(tallydesk_target_settings target)
    target_compile_options(${target} PRIVATE ${TALLYDESK_WARNINGS})
    target_compile_definitions(${target} PRIVATE ${TALLYDESK_DEFINES})
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
    # Its precompiled header is chosen once every library has all its links (see below). A
    # deferred call reads its arguments when it runs, hence the name is written into it now.
    cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY [[${PROJECT_SOURCE_DIR}]]
        CALL tallydesk_library_pch [[${name}]])")
endfunction()

# The Qt modules whose usage requirements reach a target: its own links, followed through the
# project's libraries and Qt's modules. Links a static library keeps to itself ($<LINK_ONLY:>)
# bring no definitions, so they are not followed.
function(tallydesk_qt_modules target out)
    set(seen "")
    set(queue ${target})
    set(first TRUE)
    while(queue)
        list(POP_FRONT queue current)
        if(first)
            get_target_property(links ${current} LINK_LIBRARIES)
            set(first FALSE)
        else()
            get_target_property(links ${current} INTERFACE_LINK_LIBRARIES)
        endif()
        foreach(link IN LISTS links)
            if(TARGET ${link} AND NOT link IN_LIST seen)
                list(APPEND seen ${link})
                list(APPEND queue ${link})
            endif()
        endforeach()
    endwhile()
    list(FILTER seen INCLUDE REGEX "^Qt6::")
    list(SORT seen)
    set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Most of a library source's compile time goes to parsing the Qt headers it includes, so the
# libraries start from a precompiled header of them. Libraries that see the same Qt modules are
# compiled with the same definitions and share one; Qt Test defines its folder, so its users
# share only within a folder.
function(tallydesk_library_pch name)
    # A library of one or two sources would spend more on the header than it saves.
    get_target_property(sources ${name} SOURCES)
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    list(LENGTH sources count)
    if(count LESS 3)
        return()
    endif()
    tallydesk_qt_modules(${name} modules)
    string(REPLACE ";" "_" group "${modules}")
    if("Qt6::Test" IN_LIST modules)
        get_target_property(folder ${name} SOURCE_DIR)
        string(APPEND group "_${folder}")
    endif()
    string(MAKE_C_IDENTIFIER "tallydesk_pch_${group}" group)
    get_property(owner GLOBAL PROPERTY ${group})
    if(owner)
        target_precompile_headers(${name} REUSE_FROM ${owner})
    else()
        set_property(GLOBAL PROPERTY ${group} ${name})
        target_precompile_headers(${name} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/qtheaders.h)
    endif()
endfunction()

# tallydesk_add_test(name SOURCES ... LIBS ... [GUI])
# One Qt Test executable, registered with CTest. Widgets tests run on the offscreen platform.
# The Qt headers are precompiled once per test folder and shared by its test programs: each test
# is a single source file, so without this most of its compile time goes to parsing the same Qt
# headers. Qt Test defines the folder in a macro, hence one header per folder; every test links
# the same Qt modules, so the shared header sees the same definitions.
set(TALLYDESK_TEST_QT Qt6::Test Qt6::Widgets Qt6::Network)
function(tallydesk_test_pch out)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(pch tallydesk_test_pch_${folder})
    if(NOT TARGET ${pch})
        set(source ${CMAKE_CURRENT_BINARY_DIR}/${pch}.cpp)
        file(WRITE ${source} "// precompiled Qt headers of the tests in this folder\n")
        add_library(${pch} STATIC ${source})
        target_link_libraries(${pch} PRIVATE ${TALLYDESK_TEST_QT})
        tallydesk_target_settings(${pch})
        target_precompile_headers(${pch} PRIVATE <QtTest> <QtWidgets> <QtNetwork>)
    endif()
    set(${out} ${pch} PARENT_SCOPE)
endfunction()

function(tallydesk_add_test name)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
    tallydesk_test_pch(pch)
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${TALLYDESK_TEST_QT} ${ARG_LIBS})
    tallydesk_target_settings(${name})
    target_precompile_headers(${name} REUSE_FROM ${pch})
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
