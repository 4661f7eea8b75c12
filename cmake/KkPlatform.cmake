# The choice of the platform layer's implementation. posix holds Linux's own calls (flock,
# close_range, fontconfig) and is built only there; portable uses Qt's portable APIs
# alone and is the one every other system builds. Kept apart from the top-level file so that
# tests/platform/platformchoice.cmake can ask it about systems this machine is not.

# kk_default_platform(<system> <out>): the implementation a configure for <system>
# (CMAKE_SYSTEM_NAME) gets when none is asked for.
function(kk_default_platform system out)
    if(system STREQUAL "Linux")
        set(${out} posix PARENT_SCOPE)
    else()
        set(${out} portable PARENT_SCOPE)
    endif()
endfunction()

# kk_platform_problem(<system> <platform> <out>): why <platform> cannot be built for <system>,
# or an empty text when it can.
function(kk_platform_problem system platform out)
    set(problem "")
    if(NOT platform MATCHES "^(posix|portable)$")
        set(problem "KK_PLATFORM is '${platform}'; it must be posix or portable")
    elseif(platform STREQUAL "posix" AND NOT system STREQUAL "Linux")
        set(problem "KK_PLATFORM=posix is built only for Linux; ${system} builds portable")
    endif()
    set(${out} "${problem}" PARENT_SCOPE)
endfunction()
