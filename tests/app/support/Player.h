#pragma once
#include "app/TFormMain.h"
#include "app/TFormProgress.h"
#include "support/MessageBoxAnswerer.h"
#include "support/PackageBuilder.h"
#include "support/ScratchFolder.h"
#include <QAction>
#include <memory>

namespace app_testing {

// The player as the program starts it, on a package written by the test: the main window
// (silent music), the hidden progress window, a private folder for the extracted files, and
// a user who presses OK in every message box.
class Player {
public:
    // A 320 x 200 BMP picture at level 3, arranged at random at the edge, no tune.
    static testing_support::PackageBuilder SamplePackage();

    explicit Player(const testing_support::PackageBuilder& package = SamplePackage());
    ~Player();

    testing_support::ScratchFolder folder; // first in, last out: it outlives the extracted files
    app::TFormProgress progress;
    std::unique_ptr<app::TFormMain> main;
    MessageBoxAnswerer boxes;

    game::Game& game() { return main->Game(); }
    QAction& action(const char* name);
    // Shows the main window (the first show builds the game) and lets queued events run.
    void show();
    // Closes and destroys the main window, as the end of the program does.
    void quit();
};

} // namespace app_testing
