#include "RunFolder.h"
#include "FuzzCheck.h"
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace fuzzing {

RunFolder& RunFolder::Get()
{
    static RunFolder folder;
    return folder;
}

RunFolder::RunFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && tmp[0] == '/' ? tmp : "/tmp") + "/tovanta-fuzz-XXXXXX";
    require(::mkdtemp(pattern.data()) != nullptr, "cannot make the run's folder under " + pattern);
    m_path = pattern;
    require(::mkdir(extractFolder().c_str(), 0700) == 0, "cannot make " + extractFolder());
}

RunFolder::~RunFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string RunFolder::write(const std::string& name, std::span<const std::uint8_t> bytes) const
{
    const std::string p = file(name);
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    require(bool(out.flush()), "cannot write " + p);
    return p;
}

std::vector<std::uint8_t> RunFolder::read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> RunFolder::entries(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void RunFolder::clear(const std::string& folder)
{
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        std::filesystem::remove_all(e.path(), ec);
}

} // namespace fuzzing
