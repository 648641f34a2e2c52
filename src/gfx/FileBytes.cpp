#include "gfx/FileBytes.h"
#include "gfx/GfxError.h"
#include <fstream>
#include <stdexcept>

namespace gfx {

std::vector<std::uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        throw DecodeError("Cannot open " + path);
    std::streamoff size = in.tellg();
    if (size < 0 || std::uint64_t(size) > kMaxPictureFileBytes)
        throw DecodeError("The file " + path + " is too large for a picture");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size))
        throw DecodeError("Cannot read " + path);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("Cannot write " + path);
}

} // namespace gfx
