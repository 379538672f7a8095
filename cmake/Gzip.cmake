# Compresses `source` into `name`.gz in the current build folder, as Debian
# ships manual pages and changelogs: reproducibly, without name or time.
function(tagwerk_gzip source name)
    add_custom_command(OUTPUT ${name}.gz COMMAND gzip -9nc ${source} > ${name}.gz DEPENDS ${source})
endfunction()
