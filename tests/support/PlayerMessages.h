#pragma once
#include <string>

namespace testing_support {

// The player's own message texts, for tests and fuzz targets that check what it says.
inline const std::string kCannotReadImage = "Cannot read the image. Please contact your vendor.";
inline const std::string kPictureDamaged = "Cannot read the image because the exe file could be corrupted.";
inline const std::string kTuneDamaged = "Cannot read the image because the midi file could be corrupted.";
inline const std::string kImageTooSmall = "Cannot create puzzle because the image is too small.";
inline const std::string kNotEnoughMemory = "Not enough memory! Please try to use Beginner or Novice level.";
inline const std::string kPuzzleSolved = "Congratulations. You solved the puzzle.";
// "Unable to open %s." names the picture's path.
inline std::string unableToOpen(const std::string& path) { return "Unable to open " + path + "."; }

} // namespace testing_support
