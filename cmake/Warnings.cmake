# Warnings are errors in our own code; generated code is compiled without them.
function(fwcommon_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
