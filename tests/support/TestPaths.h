#pragma once
#include <string>

namespace testing_support {

// The build and source folders of this build, for tests that run the built programs.
inline std::string buildDir() { return TOVANTA_BUILD_DIR; }
inline std::string sourceDir() { return TOVANTA_SOURCE_DIR; }

} // namespace testing_support
