# Our own code compiles without warnings; third-party headers come in as
# system headers and are not held to this.
function(tagwerk_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
endfunction()
