# Run with cmake -DKK_SOURCE_DIR=<repository> -P platformchoice.cmake; fails on the first wrong
# answer.
cmake_minimum_required(VERSION 3.25)
include(${KK_SOURCE_DIR}/cmake/KkPlatform.cmake)

set(failures 0)

# system, the implementation it gets by default
foreach(case "Linux;posix" "Windows;portable" "Darwin;portable" "FreeBSD;portable")
    list(GET case 0 system)
    list(GET case 1 expected)
    kk_default_platform("${system}" chosen)
    if(NOT chosen STREQUAL expected)
        message(SEND_ERROR "${system} gets ${chosen} by default, not ${expected}")
        math(EXPR failures "${failures} + 1")
    endif()
    kk_platform_problem("${system}" "${chosen}" problem)
    if(problem)
        message(SEND_ERROR "${system}'s default ${chosen} is refused: ${problem}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()

# system, implementation asked for, whether it is refused
foreach(case "Linux;portable;no" "Windows;posix;yes" "Darwin;posix;yes" "FreeBSD;posix;yes"
             "Linux;;yes" "Linux;Posix;yes" "Windows;win32;yes")
    list(GET case 0 system)
    list(GET case 1 asked)
    list(GET case 2 refused)
    kk_platform_problem("${system}" "${asked}" problem)
    if(refused AND NOT problem)
        message(SEND_ERROR "${system} accepts KK_PLATFORM='${asked}'")
        math(EXPR failures "${failures} + 1")
    elseif(NOT refused AND problem)
        message(SEND_ERROR "${system} refuses KK_PLATFORM='${asked}': ${problem}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()

if(failures)
    message(FATAL_ERROR "${failures} wrong answers")
endif()
message(STATUS "the platform choice answers as it should")
