# One interface target carries the language standard, warnings and defines of every target.
add_library(kestrel_options INTERFACE)
target_compile_features(kestrel_options INTERFACE cxx_std_20)
target_compile_options(kestrel_options INTERFACE -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor)
target_compile_definitions(kestrel_options INTERFACE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
                                                     QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
if(KESTREL_WERROR)
    target_compile_options(kestrel_options INTERFACE -Werror)
endif()
if(KESTREL_SANITIZE)
    target_compile_options(kestrel_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                     -fno-sanitize-recover=undefined)
    target_link_options(kestrel_options INTERFACE -fsanitize=address,undefined)
endif()
if(KESTREL_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "KESTREL_FUZZ needs clang (configure with -DCMAKE_CXX_COMPILER=clang++)")
    endif()
    # Instrument every library so the fuzzer sees coverage of the code under test.
    target_compile_options(kestrel_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
    target_link_options(kestrel_options INTERFACE -fsanitize=address,undefined)
endif()

# How a test program is compiled: the code under test keeps the build's own flags, but the tests'
# own code is compiled with light optimisation and line tables only (backtraces keep their file
# and line), and with the headers nearly every test parses precompiled once per program. Together
# they halve the suite's compile time, most of a clean build's.
function(kestrel_test_build_options name)
    target_compile_options(${name} PRIVATE -Og -g1)
    target_precompile_headers(${name} PRIVATE <gtest/gtest.h> <QByteArray> <QString> <QStringList> <QFile>
                              <QTemporaryDir> <QJsonArray> <QJsonDocument> <QJsonObject> <algorithm> <functional>
                              <memory> <string> <vector>)
endfunction()

# kestrel_add_test(NAME SOURCES ... LIBS ...): one GoogleTest executable registered with CTest.
function(kestrel_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE kestrel_options ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE KESTREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                               KESTREL_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
    kestrel_test_build_options(${name})
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30
                         PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
