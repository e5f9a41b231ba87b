# Shared build helpers: test and benchmark registration.
include(GoogleTest)

# ostrel_add_test(<name> SOURCES ... [LIBS ...] [PROPERTIES <name> <value> ...]
#                 [BROWSER_CASES <filter>])
# A GoogleTest program run headless under ctest. It links the shared test main, which
# starts a QApplication on the offscreen platform and fails any test that leaves a
# counted object alive or a top-level window open. PROPERTIES are further test properties.
# BROWSER_CASES (a --gtest_filter pattern, cases joined by ':') names the cases that start
# Chromium, Java or npm; they carry the label `browser`, which `ctest -LE browser` leaves
# out. A program made only of such cases passes PROPERTIES LABELS browser instead.
function(ostrel_add_test name)
    cmake_parse_arguments(ARG "" "BROWSER_CASES" "SOURCES;LIBS;PROPERTIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ostrel_test_main ${ARG_LIBS})
    set(discovery DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
    set(properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${ARG_PROPERTIES})
    if(NOT ARG_BROWSER_CASES)
        gtest_discover_tests(${name} ${discovery} PROPERTIES ${properties})
        return()
    endif()
    gtest_discover_tests(${name} ${discovery} TEST_LIST ${name}_LOCAL
        TEST_FILTER "-${ARG_BROWSER_CASES}" PROPERTIES ${properties})
    gtest_discover_tests(${name} ${discovery} TEST_LIST ${name}_BROWSER
        TEST_FILTER "${ARG_BROWSER_CASES}" PROPERTIES ${properties} LABELS browser)
endfunction()

# ostrel_add_qtest(<name> SOURCES ... [LIBS ...]): a QTest program for widget behaviour.
function(ostrel_add_qtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE Qt6::Test Qt6::Widgets ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# ostrel_add_benchmark(<name> SOURCES ... [LIBS ...]): a Google Benchmark program, not a test.
function(ostrel_add_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE benchmark::benchmark ${ARG_LIBS})
endfunction()
