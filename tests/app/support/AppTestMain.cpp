// The main of every window test: the real application object on Qt's offscreen platform.
#include "app/TApplication.h"
#include <gtest/gtest.h>
#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0); // ctest sets it too; a plain run gets it here
    ::testing::InitGoogleTest(&argc, argv);
    app::TApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
