#pragma once
#include <string>

namespace fuzzing {

// A property of the code under test that an input broke: says which, then ends the run so
// that libFuzzer keeps the input as a finding.
[[noreturn]] void fail(const std::string& what);

inline void require(bool holds, const std::string& what)
{
    if (!holds)
        fail(what);
}

} // namespace fuzzing
