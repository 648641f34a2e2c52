#pragma once
#include <cstddef>

namespace resources {

// One bitmap file compiled into the program.
struct EmbeddedFile {
    int number;
    const unsigned char* data;
    std::size_t size;
};

// The outline or shading strip with this resource number, or nullptr.
const EmbeddedFile* findEmbeddedStrip(int number);

} // namespace resources
