# Our own code compiles without warnings; third-party headers come in as
# system headers and are not held to this. Warnings become errors only when
# asked for (the tests and CI do), so that a newer compiler's new warning
# never stops someone else's build.
option(TAGWERK_WERROR "Treat compiler warnings as errors" OFF)

set(TAGWERK_WARNING_FLAGS -Wall -Wextra -Wpedantic -Wshadow)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12, when optimizing, takes `"literal" + std::string` for a copy of
    # overlapping memory inside libstdc++ (GCC bug 105329); -Wrestrict there
    # says nothing about the code it points at.
    list(APPEND TAGWERK_WARNING_FLAGS -Wno-restrict)
endif()
if(TAGWERK_WERROR)
    list(APPEND TAGWERK_WARNING_FLAGS -Werror)
endif()

function(tagwerk_warnings target)
    target_compile_options(${target} PRIVATE ${TAGWERK_WARNING_FLAGS})
endfunction()
