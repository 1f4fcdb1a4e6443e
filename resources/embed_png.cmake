# Writes a C++ source that holds every image named in the resource script as
# a byte array, with FindPngResource over them: the same images, by the same
# ids, that the Windows builds carry as resources.
#   cmake -DSCRIPT=resources.rc -DOUTPUT=png_resource_data.cpp -P embed_png.cmake
get_filename_component(folder ${SCRIPT} DIRECTORY)
file(STRINGS ${SCRIPT} lines REGEX "^[0-9]+ PNG \"[^\"]+\"")

set(arrays "")
set(cases "")
foreach(line ${lines})
  string(REGEX MATCH "^([0-9]+) PNG \"([^\"]+)\"" _ "${line}")
  set(id ${CMAKE_MATCH_1})
  file(READ ${folder}/${CMAKE_MATCH_2} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const uint8_t png${id}[] = {\n    ${bytes}\n};\n")
  string(APPEND cases "    case ${id}: return {png${id}, sizeof png${id}};\n")
endforeach()

file(WRITE ${OUTPUT}.tmp "// Generated from ${SCRIPT}; do not edit.
#include \"resources/png_resource.h\"

namespace {
${arrays}}  // namespace

PngResource FindPngResource(int resourceId) {
  switch (resourceId) {
${cases}    default: return {nullptr, 0};
  }
}
")
# Replace the output only when it changed, so an unchanged image set does not
# rebuild the library.
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
