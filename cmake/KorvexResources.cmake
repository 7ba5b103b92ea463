# Resources that are not committed (npm files, compiled translations) are put into
# qrc files written to the build folder, so every program embeds them the same way.

set(KORVEX_NPM_DIR "${CMAKE_SOURCE_DIR}/node_modules" CACHE PATH "Installed npm packages (npm ci)")

# korvex_generated_qrc(<out-var> <name> <prefix> <alias> <file> [<alias> <file> ...])
# Writes <build>/qrc/<name>.qrc mapping each alias to an absolute file and returns its path.
function(korvex_generated_qrc out_var name prefix)
    set(entries "")
    set(args ${ARGN})
    list(LENGTH args n)
    math(EXPR last "${n} - 1")
    foreach(i RANGE 0 ${last} 2)
        math(EXPR j "${i} + 1")
        list(GET args ${i} alias)
        list(GET args ${j} file)
        string(APPEND entries "        <file alias=\"${alias}\">${file}</file>\n")
    endforeach()
    set(qrc "${CMAKE_BINARY_DIR}/qrc/${name}.qrc")
    file(CONFIGURE OUTPUT "${qrc}" CONTENT
"<!DOCTYPE RCC><RCC version=\"1.0\">\n    <qresource prefix=\"${prefix}\">\n${entries}    </qresource>\n</RCC>\n")
    set(${out_var} "${qrc}" PARENT_SCOPE)
endfunction()

# korvex_npm_file(<out-var> <path below node_modules>): fails early with a clear hint.
function(korvex_npm_file out_var rel)
    set(path "${KORVEX_NPM_DIR}/${rel}")
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "Missing ${path}: run scripts/setup (npm ci) first")
    endif()
    set(${out_var} "${path}" PARENT_SCOPE)
endfunction()
