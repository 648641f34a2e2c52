#include "support/Player.h"
#include <QCoreApplication>
#include <stdexcept>

namespace app_testing {

testing_support::PackageBuilder Player::SamplePackage()
{
    testing_support::PackageBuilder package;
    package.picture = testing_support::PackageBuilder::BmpPicture(320, 200);
    package.trailer.PictureIsBmp = 1;
    package.trailer.LevelCode = 3;
    return package;
}

Player::Player(const testing_support::PackageBuilder& package)
    : main(std::make_unique<app::TFormMain>(nullptr, audio::Output::Silent))
{
    main->SetProgressWindow(&progress);
    game().ProgramPath = package.Write(folder.file("player"));
    game().TempFolder = folder.path();
}

Player::~Player() { quit(); }

QAction& Player::action(const char* name)
{
    if (auto* found = main->findChild<QAction*>(name))
        return *found;
    throw std::invalid_argument(std::string("no menu item ") + name);
}

void Player::show()
{
    main->show();
    QCoreApplication::processEvents();
}

void Player::quit()
{
    if (!main)
        return;
    main->close();
    main.reset();
}

} // namespace app_testing
