# Our own code compiles with every common warning; the generated code does
# not. Warnings fail the build unless FWCOMMON_WERROR is off, which is how
# packagers build against compilers newer than the ones we test with.
function(fwcommon_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(FWCOMMON_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
