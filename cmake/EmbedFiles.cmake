# Writes OUTPUT, a C++ source holding every file of INPUTS as a byte array, keyed by the
# number in its file name (151.bmp -> 151), for lookup through findEmbeddedStrip().
set(body "")
set(table "")
foreach(path IN LISTS INPUTS)
  get_filename_component(name "${path}" NAME_WE)
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" hexLength)
  math(EXPR size "${hexLength} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "static const unsigned char strip${name}[] = {${bytes}};\n")
  string(APPEND table "    {${name}, strip${name}, ${size}},\n")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from resources/strips by cmake/EmbedFiles.cmake. Do not edit.
#include \"EmbeddedStrips.h\"
#include <cstddef>

namespace resources {
namespace {
${body}
const EmbeddedFile kFiles[] = {
${table}    {0, nullptr, 0},
};
} // namespace

const EmbeddedFile* findEmbeddedStrip(int number)
{
    for (const EmbeddedFile* f = kFiles; f->data; ++f)
        if (f->number == number)
            return f;
    return nullptr;
}
} // namespace resources
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
