#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fuzzing {

// A folder of this fuzzing process alone (mode 0700, under $TMPDIR or /tmp), removed with
// everything in it when the process ends. Inputs are written into it as files, and the game
// extracts its files into its subfolder "extract".
class RunFolder {
public:
    // The one folder of the process, made on first use.
    static RunFolder& Get();

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }
    std::string extractFolder() const { return m_path + "/extract"; }

    // Writes bytes to path()/name and returns that path.
    std::string write(const std::string& name, std::span<const std::uint8_t> bytes) const;
    // The whole content of a file; empty when it cannot be read.
    static std::vector<std::uint8_t> read(const std::string& path);
    // The names in folder, sorted.
    static std::vector<std::string> entries(const std::string& folder);
    // Removes everything in folder, leaving the folder.
    static void clear(const std::string& folder);

    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

private:
    RunFolder();
    std::string m_path;
};

} // namespace fuzzing
