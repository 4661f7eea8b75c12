# Every test runs through tests/support/isolated.sh where bash is: in a D-Bus session bus of its
# own, with whatever it leaves running ended when it ends (the script says why).
set(KK_TEST_SLOWDOWN 1 CACHE STRING
    "How many times longer every test's limits are: sanitizer builds run several times slower")
find_program(KK_BASH bash)
set(KK_TEST_WRAPPER "")
if(KK_BASH AND UNIX)
    set(KK_TEST_WRAPPER ${KK_BASH} ${PROJECT_SOURCE_DIR}/tests/support/isolated.sh)
endif()

# kk_test_limits(<seconds> <test>...): the tests' timeout, times the slowdown, which the tests'
# own waits read from KK_TEST_SLOWDOWN (tests/support/slowdown.h, tests/e2e/lib.sh).
function(kk_test_limits seconds)
    math(EXPR limit "${seconds} * ${KK_TEST_SLOWDOWN}")
    set_tests_properties(${ARGN} PROPERTIES TIMEOUT ${limit})
    set_property(TEST ${ARGN} APPEND PROPERTY ENVIRONMENT "KK_TEST_SLOWDOWN=${KK_TEST_SLOWDOWN}")
endfunction()

# kk_add_test(<name> SOURCES ... LIBS ... [GUI] [TIMEOUT seconds])
# One test executable per unit. GUI tests run on the offscreen platform so that they need no
# display; every test gets a timeout so that a stuck modal box fails the run instead of hanging it.
function(kk_add_test name)
    cmake_parse_arguments(ARG "GUI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    qt_add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES MACOSX_BUNDLE OFF WIN32_EXECUTABLE OFF)
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${name} COMMAND ${KK_TEST_WRAPPER} $<TARGET_FILE:${name}>)
    set(env "QT_FATAL_CRITICALS=0")
    if(ARG_GUI)
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}")
    kk_test_limits(${ARG_TIMEOUT} ${name})
endfunction()
