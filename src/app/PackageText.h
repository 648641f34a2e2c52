#pragma once
#include <QString>
#include <string>

namespace app {

// A text from the puzzle package for the screen: packages made on this system carry UTF-8, older
// ones single-byte text, which is read as Latin-1 when the bytes are not valid UTF-8.
QString packageText(const std::string& bytes);

} // namespace app
