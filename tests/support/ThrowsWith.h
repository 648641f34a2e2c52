#pragma once
#include <gtest/gtest.h>
#include <string>

namespace testing_support {

// Success when f throws an Error whose text contains part; otherwise a failure that says what
// happened instead. For tables of inputs that must be refused with a particular message.
template <class Error, class F>
::testing::AssertionResult throwsWith(F f, const std::string& part)
{
    try {
        f();
    } catch (const Error& e) {
        if (std::string(e.what()).find(part) != std::string::npos)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the error \"" << e.what() << "\" does not mention \"" << part << "\"";
    }
    return ::testing::AssertionFailure() << "no error";
}

} // namespace testing_support
