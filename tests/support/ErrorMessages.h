#pragma once
#include "support/RecordingWindow.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace testing_support {

// The texts of the message boxes a window was asked to show, each checked to carry the
// error icon: the game's failures are all errors.
inline std::vector<std::string> errorMessages(const RecordingWindow& window)
{
    std::vector<std::string> texts;
    for (const auto& m : window.messages) {
        EXPECT_EQ(m.icon, game::MessageIcon::Error) << m.text;
        texts.push_back(m.text);
    }
    return texts;
}

} // namespace testing_support
