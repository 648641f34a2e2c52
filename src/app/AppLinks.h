#pragma once

namespace app {

// The project's own web pages, opened by the Help menu and the links of the progress and About
// windows. example.org stands in until the project publishes pages of its own.
inline constexpr const char* kMakerHomePage = "https://tovanta.example.org/";
inline constexpr const char* kProductPage = "https://tovanta.example.org/lite/";
inline constexpr const char* kMakerName = "The Tovanta project";

} // namespace app
