#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// A fresh folder (mode 0700) under the system's temporary folder for one test, removed with
// everything in it when the test ends. Also reads and writes whole files.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return m_path; }
    // path()/name
    std::string file(const std::string& name) const { return m_path + "/" + name; }

    // Writes bytes (or text) to path()/name and returns that path.
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    std::string write(const std::string& name, const std::string& text) const;

    // The whole content of any file; throws std::runtime_error when it cannot be read.
    static std::vector<std::uint8_t> read(const std::string& path);

private:
    std::string m_path;
};

} // namespace testing_support
