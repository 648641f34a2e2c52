#include "game/Game.h"
#include "game/PackageFile.h"
#include "game/PackageTrailer.h"
#include "game/PrivateFolder.h"
#include "support/ErrorMessages.h"
#include "support/PackageBuilder.h"
#include "support/RecordingWindow.h"
#include "support/ScratchFolder.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <climits>
#include <functional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

using game::MenuItem;
using game::PackageTrailer;
using testing_support::PackageBuilder;
using testing_support::RecordingWindow;
using testing_support::ScratchFolder;

namespace {

const std::string kCannotOpen = "Cannot read the image. Please contact your vendor.";
const std::string kPictureDamaged = "Cannot read the image because the exe file could be corrupted.";
const std::string kTuneDamaged = "Cannot read the image because the midi file could be corrupted.";

const std::vector<std::uint8_t> kPicture = {0xFF, 0xD8, 'p', 'i', 'c', 0xFF, 0xD9};
const std::vector<std::uint8_t> kTune = {'M', 'T', 'h', 'd', 't', 'u', 'n', 'e'};

bool exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

mode_t modeOf(const std::string& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode;
}

// A game whose program file is a package built in a scratch folder, extracting into it.
struct PackageGame {
    ScratchFolder folder;
    RecordingWindow window;
    game::Game game{window};
    PackageBuilder package;

    PackageGame()
    {
        package.picture = kPicture;
        game.TempFolder = folder.path();
    }
    bool read()
    {
        game.ProgramPath = package.Write(folder.file("player"));
        return game.ReadPackage();
    }
    std::vector<std::string> messages() const { return testing_support::errorMessages(window); }
};

} // namespace

TEST(PackageTrailerTest, FieldsSitAtTheirOffsetsLittleEndian)
{
    // The settings of a sample package, with a few values that show sign and byte order.
    PackageTrailer t;
    ASSERT_TRUE(t.SetMessage("Hello\nWorld"));
    t.LevelCode = -56; // stored as 200
    t.PictureSize = 142212;
    t.MusicSize = 0x01020304;
    t.PictureIsBmp = -1;
    t.Arrangement = 1;
    t.ScalePercent = 100;
    t.ReservedFlag = 1;
    t.RotatePieces = 1;
    t.ShowOriginal = 0;
    t.Padding = 22;
    t.BackgroundColor = 8421376;

    const PackageTrailer::Bytes b = t.Serialize();
    ASSERT_EQ(b.size(), 284u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 12), std::string("Hello\nWorld\0", 12));
    const std::pair<std::size_t, std::vector<std::uint8_t>> layout[] = {
        {255, {200}},
        {256, {0x84, 0x2B, 0x02, 0x00}},
        {260, {0x04, 0x03, 0x02, 0x01}},
        {264, {0xFF, 0xFF, 0xFF, 0xFF}},
        {268, {1, 0, 0, 0}},
        {272, {100, 0, 0, 0}},
        {276, {1, 1, 0, 22}},
        {280, {0x00, 0x80, 0x80, 0x00}},
    };
    for (const auto& [offset, bytes] : layout)
        EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + offset, b.begin() + offset + bytes.size()), bytes)
            << "offset " << offset;

    const PackageTrailer back = PackageTrailer::Parse(b);
    EXPECT_EQ(back.Serialize(), b);
    EXPECT_EQ(back.LevelCode, -56);
    EXPECT_EQ(back.PictureIsBmp, -1);
    EXPECT_EQ(back.BackgroundColor, 8421376u);
    EXPECT_EQ(back.Message(), "Hello\nWorld");
}

TEST(PackageTrailerTest, MessageStopsAtItsZeroAndNeverReadsTheLastByte)
{
    PackageTrailer t;
    EXPECT_TRUE(t.MessageIsEmpty());
    EXPECT_EQ(t.Message(), "");

    // Without any zero the text ends before offset 254, where its zero belongs.
    t.MessageText.fill('x');
    EXPECT_EQ(t.Message(), std::string(254, 'x'));
    // Bytes after the zero are not part of it.
    t.MessageText[3] = 0;
    EXPECT_EQ(t.Message(), "xxx");

    EXPECT_TRUE(t.SetMessage(std::string(254, 'a')));
    EXPECT_EQ(t.Message(), std::string(254, 'a'));
    EXPECT_FALSE(t.SetMessage(std::string(255, 'b')));
    EXPECT_FALSE(t.SetMessage(std::string("a\0b", 3)));
    EXPECT_EQ(t.Message(), std::string(254, 'a')) << "a refused text leaves the message alone";
}

TEST(PackageTrailerTest, DefaultMessageIsOneBlockOfEightyBytesWithFourLines)
{
    const auto& block = PackageTrailer::kDefaultMessage;
    ASSERT_EQ(block.size(), 80u);
    const std::string text(block.data());
    ASSERT_LT(text.size(), 80u);
    for (std::size_t i = text.size(); i < block.size(); ++i)
        EXPECT_EQ(block[i], 0) << "padding at " << i;
    EXPECT_EQ(text.rfind("Tovanta Lite\nVersion 7.0\n", 0), 0u) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << text;
    EXPECT_NE(text.back(), '\n');

    PackageTrailer t;
    t.MessageText.fill('z');
    t.SetDefaultMessage();
    EXPECT_EQ(t.Message(), text);
    EXPECT_EQ(t.MessageText[80], 'z') << "only the block is copied";
}

TEST(PackageFileTest, ReadCutShortByTheEndOfTheFileKeepsWhatItGot)
{
    ScratchFolder folder;
    PackageBuilder b;
    b.picture.assign(100, 0xAB);
    const std::string path = b.Write(folder.file("player"));
    game::PackageFile file;
    ASSERT_TRUE(file.Open(path));
    PackageTrailer t;
    ASSERT_TRUE(file.ReadTrailer(t));
    ASSERT_EQ(t.PictureSize, 100);

    // The file shrinks under the open reader: 64 bytes of program and half the picture remain.
    ASSERT_EQ(::truncate(path.c_str(), 64 + 50), 0);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(file.ReadPicture(t, bytes));
    EXPECT_EQ(bytes, std::vector<std::uint8_t>(50, 0xAB));
}

TEST(ReadPackageTest, AppliesTheSettingsAndChecksTheMenuItems)
{
    struct Case {
        std::int8_t levelCode;
        std::int32_t arrangement, pictureIsBmp;
        std::uint8_t rotate, showOriginal;
        int level;
        const char* pictureName;
        bool grid, random, edge;
    };
    const Case cases[] = {
        {1, 1, 0, 1, 1, 1, "tovanta.jpg", true, false, false},
        {-56, 2, 1, 0, 0, 3, "tovanta.bmp", false, true, false}, // code 200 read as a signed byte
        {14, 3, 7, 2, 255, 4, "tovanta.bmp", false, false, true},
        {12, 0, -1, 255, 2, 2, "tovanta.bmp", false, false, false},
        {9, 4, 0, 0, 1, 3, "tovanta.jpg", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "level code " << int(c.levelCode) << ", arrangement " << c.arrangement);
        PackageGame p;
        p.package.trailer.LevelCode = c.levelCode;
        p.package.trailer.Arrangement = c.arrangement;
        p.package.trailer.PictureIsBmp = c.pictureIsBmp;
        p.package.trailer.RotatePieces = c.rotate;
        p.package.trailer.ShowOriginal = c.showOriginal;
        p.package.trailer.ScalePercent = 150;
        p.package.trailer.BackgroundColor = gfx::rgb(0, 128, 128);
        ASSERT_TRUE(p.read());
        EXPECT_TRUE(p.window.messages.empty());

        EXPECT_EQ(p.game.Level, c.level);
        EXPECT_EQ(p.game.Arrangement, c.arrangement);
        EXPECT_EQ(p.game.ScalePercent, 150);
        EXPECT_EQ(p.game.BackgroundColor, gfx::rgb(0, 128, 128));
        EXPECT_EQ(p.game.RotatePieces, c.rotate != 0);
        EXPECT_EQ(p.game.ShowOriginal, c.showOriginal != 0);
        EXPECT_EQ(p.window.isChecked(MenuItem::ShowOriginal), c.showOriginal != 0);
        EXPECT_EQ(p.window.isChecked(MenuItem::ArrangeGrid), c.grid);
        EXPECT_EQ(p.window.isChecked(MenuItem::Random), c.random);
        EXPECT_EQ(p.window.isChecked(MenuItem::RandomEdge), c.edge);

        EXPECT_EQ(p.game.TempPicturePath, p.folder.file(c.pictureName));
        EXPECT_EQ(ScratchFolder::read(p.game.TempPicturePath), kPicture);
        EXPECT_EQ(modeOf(p.game.TempPicturePath) & 07777, 0600u);
    }
}

TEST(ReadPackageTest, ShowsThePackageMessageOrTheDefaultOne)
{
    PackageGame own;
    ASSERT_TRUE(own.package.trailer.SetMessage("A sunny day\n\nby the sea."));
    ASSERT_TRUE(own.read());
    EXPECT_EQ(own.window.progressMessage, "A sunny day\n\nby the sea.");

    PackageGame none;
    ASSERT_TRUE(none.read());
    EXPECT_EQ(none.window.progressMessage, std::string(PackageTrailer::kDefaultMessage.data()));

    PackageGame unterminated;
    unterminated.package.trailer.MessageText.fill('m');
    ASSERT_TRUE(unterminated.read());
    EXPECT_EQ(unterminated.window.progressMessage, std::string(254, 'm'));
}

TEST(ReadPackageTest, ExtractsTheTuneOrDisablesTheMusic)
{
    PackageGame with;
    with.package.music = kTune;
    ASSERT_TRUE(with.read());
    EXPECT_EQ(with.game.TempMusicPath, with.folder.file("tovanta.mid"));
    EXPECT_EQ(ScratchFolder::read(with.game.TempMusicPath), kTune);
    EXPECT_EQ(modeOf(with.game.TempMusicPath) & 07777, 0600u);
    EXPECT_EQ(with.window.tuneFileName, with.game.TempMusicPath);
    EXPECT_TRUE(with.window.isChecked(MenuItem::MusicOn));
    EXPECT_TRUE(with.window.isEnabled(MenuItem::MusicOn));
    EXPECT_EQ(ScratchFolder::read(with.game.TempPicturePath), kPicture) << "the picture lies after the tune";

    PackageGame without;
    ASSERT_TRUE(without.read());
    EXPECT_EQ(without.game.TempMusicPath, "");
    EXPECT_FALSE(exists(without.folder.file("tovanta.mid")));
    EXPECT_EQ(without.window.tuneFileName, "");
    EXPECT_FALSE(without.window.isEnabled(MenuItem::MusicOn));
    EXPECT_FALSE(without.window.isChecked(MenuItem::MusicOn));
}

TEST(ReadPackageTest, UnreadableProgramFileAppliesNothing)
{
    struct Case {
        const char* what;
        std::function<std::string(PackageGame&)> program; // the program path to read
    };
    const Case cases[] = {
        {"missing", [](PackageGame& p) { return p.folder.file("no-such-player"); }},
        {"a folder", [](PackageGame& p) { return p.folder.path(); }},
        {"shorter than a trailer", [](PackageGame& p) { return p.folder.write("short", std::string(283, 'x')); }},
        {"empty", [](PackageGame& p) { return p.folder.write("empty", std::string()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PackageGame p;
        p.game.ProgramPath = c.program(p);
        EXPECT_FALSE(p.game.ReadPackage());
        EXPECT_EQ(p.messages(), std::vector<std::string>{kCannotOpen});
        EXPECT_EQ(p.game.Level, 1);
        EXPECT_EQ(p.game.Arrangement, 3);
        EXPECT_EQ(p.game.BackgroundColor, 128u);
        EXPECT_EQ(p.window.progressMessage, "");
        EXPECT_TRUE(p.window.checked.empty());
        EXPECT_TRUE(p.window.enabled.empty());
        EXPECT_EQ(p.game.TempPicturePath, "");
    }
}

TEST(ReadPackageTest, DamagedLengthsFailTheirStepAndKeepTheStepsBefore)
{
    const std::int32_t picture = std::int32_t(kPicture.size());
    const std::int32_t tune = std::int32_t(kTune.size());
    const std::int32_t withProgram = 64 + picture;
    struct Case {
        const char* what;
        std::int32_t pictureSize, musicSize;
        const std::string& message;
        bool pictureExtracted;
    };
    const Case cases[] = {
        {"negative picture", -1, 0, kPictureDamaged, false},
        {"picture reaching one byte before the file", withProgram + tune + 1, 0, kPictureDamaged, false},
        {"largest picture", INT32_MAX, 0, kPictureDamaged, false},
        {"smallest picture", INT32_MIN, tune, kPictureDamaged, false},
        {"negative tune", picture, -8, kTuneDamaged, true},
        {"tune reaching one byte before the file", picture, 64 + tune + 1, kTuneDamaged, true},
        {"lengths whose 32-bit sum wraps", picture, INT32_MAX - 200, kTuneDamaged, true},
        {"smallest tune", picture, INT32_MIN, kTuneDamaged, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PackageGame p;
        p.package.music = kTune;
        p.package.keepLengths = true;
        p.package.trailer.PictureSize = c.pictureSize;
        p.package.trailer.MusicSize = c.musicSize;
        p.package.trailer.LevelCode = 4;
        p.package.trailer.Arrangement = 1;
        p.package.trailer.ShowOriginal = 0;
        ASSERT_TRUE(p.package.trailer.SetMessage("kept"));

        EXPECT_FALSE(p.read());
        EXPECT_EQ(p.messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(p.game.Level, 4) << "the settings come before the parts";
        EXPECT_FALSE(p.game.ShowOriginal);
        EXPECT_EQ(p.window.progressMessage, "kept");
        EXPECT_EQ(p.game.TempMusicPath, "");
        EXPECT_FALSE(exists(p.folder.file("tovanta.mid")));
        EXPECT_TRUE(p.window.isEnabled(MenuItem::MusicOn));
        EXPECT_FALSE(p.window.isChecked(MenuItem::MusicOn));
        EXPECT_FALSE(p.window.isChecked(MenuItem::ArrangeGrid)) << "the arrangement mark comes last";
        EXPECT_EQ(exists(p.folder.file("tovanta.jpg")), c.pictureExtracted);
        EXPECT_EQ(p.game.TempPicturePath, c.pictureExtracted ? p.folder.file("tovanta.jpg") : "");
    }
}

TEST(ReadPackageTest, PictureOfLengthZeroIsAnEmptyFile)
{
    PackageGame p;
    p.package.picture.clear();
    ASSERT_TRUE(p.read());
    EXPECT_EQ(ScratchFolder::read(p.game.TempPicturePath), std::vector<std::uint8_t>{});
}

TEST(ReadPackageTest, FailedWriteRaisesTheSystemsError)
{
    PackageGame p;
    p.game.TempFolder = p.folder.file("gone");
    try {
        p.read();
        FAIL() << "no exception";
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code(), std::errc::no_such_file_or_directory);
        EXPECT_NE(std::string(e.what()).find(p.folder.file("gone/tovanta.jpg")), std::string::npos) << e.what();
    }
    EXPECT_EQ(p.game.TempPicturePath, "");
    EXPECT_TRUE(p.window.messages.empty());
}

TEST(ReadPackageTest, PlantedLinksAreReplacedNotFollowed)
{
    for (const char* target : {"victim.txt", "missing.txt"}) {
        SCOPED_TRACE(target);
        PackageGame p;
        p.package.music = kTune;
        const std::string victim = p.folder.file(target);
        if (std::string(target) == "victim.txt")
            p.folder.write(target, std::string("keep me"));
        ASSERT_EQ(::symlink(victim.c_str(), p.folder.file("tovanta.jpg").c_str()), 0);
        ASSERT_EQ(::symlink(victim.c_str(), p.folder.file("tovanta.mid").c_str()), 0);

        ASSERT_TRUE(p.read());
        EXPECT_TRUE(S_ISREG(modeOf(p.game.TempPicturePath)));
        EXPECT_TRUE(S_ISREG(modeOf(p.game.TempMusicPath)));
        EXPECT_EQ(ScratchFolder::read(p.game.TempPicturePath), kPicture);
        EXPECT_EQ(ScratchFolder::read(p.game.TempMusicPath), kTune);
        if (std::string(target) == "victim.txt")
            EXPECT_EQ(ScratchFolder::read(victim), std::vector<std::uint8_t>({'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
        else
            EXPECT_FALSE(exists(victim));
    }
}

TEST(ReadPackageTest, OverwritesAnEarlierExtraction)
{
    PackageGame p;
    p.folder.write("tovanta.jpg", std::string(5000, 'o'));
    ::chmod(p.folder.file("tovanta.jpg").c_str(), 0644);
    ASSERT_TRUE(p.read());
    EXPECT_EQ(ScratchFolder::read(p.game.TempPicturePath), kPicture);
    EXPECT_EQ(modeOf(p.game.TempPicturePath) & 07777, 0600u);
}

TEST(ReadPackageTest, ExtractedFilesGoWithTheGame)
{
    ScratchFolder folder;
    std::string picture, tune;
    {
        RecordingWindow window;
        game::Game g(window);
        PackageBuilder b;
        b.picture = kPicture;
        b.music = kTune;
        g.ProgramPath = b.Write(folder.file("player"));
        g.TempFolder = folder.path();
        ASSERT_TRUE(g.ReadPackage());
        picture = g.TempPicturePath;
        tune = g.TempMusicPath;
        ASSERT_TRUE(exists(picture) && exists(tune));
    }
    EXPECT_FALSE(exists(picture));
    EXPECT_FALSE(exists(tune));
}

TEST(PrivateFolderTest, UsesTheRuntimeFolderOnlyWhenItIsThisUsersAlone)
{
    ScratchFolder runtime, tmp;
    const std::string fallback = tmp.file("tovanta-" + std::to_string(::geteuid()));
    ASSERT_EQ(::mkdir(runtime.file("ok").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(runtime.file("shared").c_str(), 0700), 0);
    ::chmod(runtime.file("shared").c_str(), 0777);
    ASSERT_EQ(::mkdir(runtime.file("group").c_str(), 0770), 0);
    ::chmod(runtime.file("group").c_str(), 0770);
    ASSERT_EQ(::symlink(runtime.file("ok").c_str(), runtime.file("link").c_str()), 0);
    runtime.write("file", std::string("x"));

    struct Case {
        const char* what;
        std::string runtimeDir; // empty: unset
        std::string expected;
    };
    const Case cases[] = {
        {"private", runtime.file("ok"), runtime.file("ok")},
        {"writable by everyone", runtime.file("shared"), fallback},
        {"writable by the group", runtime.file("group"), fallback},
        {"a link to a private folder", runtime.file("link"), fallback},
        {"a file", runtime.file("file"), fallback},
        {"missing", runtime.file("none"), fallback},
        {"relative", "ok", fallback},
        {"unset", "", fallback},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const char* dir = c.runtimeDir.empty() ? nullptr : c.runtimeDir.c_str();
        EXPECT_EQ(game::PrivateFolder::Locate(dir, tmp.path().c_str()), c.expected);
    }
    // The fallback folder was made once, for this user alone, and is used again.
    struct stat st {};
    ASSERT_EQ(::lstat(fallback.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_EQ(st.st_uid, ::geteuid());
}

TEST(PrivateFolderTest, RefusesAFallbackFolderSomebodyElseCouldChange)
{
    const std::string name = "tovanta-" + std::to_string(::geteuid());
    struct Case {
        const char* what;
        std::function<void(const ScratchFolder&)> plant;
        const char* reason;
    };
    const Case cases[] = {
        {"writable by everyone",
         [&](const ScratchFolder& t) {
             ::mkdir(t.file(name).c_str(), 0700);
             ::chmod(t.file(name).c_str(), 0777);
         },
         "other users may write to it"},
        {"a link to a private folder",
         [&](const ScratchFolder& t) {
             ::mkdir(t.file("elsewhere").c_str(), 0700);
             ::symlink(t.file("elsewhere").c_str(), t.file(name).c_str());
         },
         "symbolic link"},
        {"a file", [&](const ScratchFolder& t) { t.write(name, std::string("x")); }, "not a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder tmp;
        c.plant(tmp);
        try {
            game::PrivateFolder::Locate(nullptr, tmp.path().c_str());
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(tmp.file(name)), std::string::npos) << e.what();
        }
    }
}

TEST(PrivateFolderTest, RefusesAFolderOfAnotherUser)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a folder to another user needs root";
    ScratchFolder runtime, tmp;
    const std::string theirs = runtime.file("theirs");
    ASSERT_EQ(::mkdir(theirs.c_str(), 0700), 0);
    ASSERT_EQ(::chown(theirs.c_str(), 4242, 4242), 0);
    EXPECT_EQ(game::PrivateFolder::Locate(theirs.c_str(), tmp.path().c_str()), tmp.file("tovanta-0"));

    ScratchFolder planted;
    ASSERT_EQ(::mkdir(planted.file("tovanta-0").c_str(), 0700), 0);
    ASSERT_EQ(::chown(planted.file("tovanta-0").c_str(), 4242, 4242), 0);
    try {
        game::PrivateFolder::Locate(nullptr, planted.path().c_str());
        ADD_FAILURE() << "accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("another user"), std::string::npos) << e.what();
    }
}

TEST(PrivateFolderTest, WriteFileRefusesWhatIsNotARegularFile)
{
    ScratchFolder folder;
    ASSERT_EQ(::mkfifo(folder.file("pipe").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(folder.file("dir").c_str(), 0700), 0);
    const std::vector<std::uint8_t> bytes = {1, 2, 3};
    // Neither may hang the player nor end it.
    EXPECT_THROW(game::PrivateFolder::WriteFile(folder.file("pipe"), bytes), std::runtime_error);
    EXPECT_THROW(game::PrivateFolder::WriteFile(folder.file("dir"), bytes), std::system_error);
}

TEST(PrivateFolderTest, JoinAddsOneSeparator)
{
    EXPECT_EQ(game::PrivateFolder::Join("/run/user/1000", "tovanta.jpg"), "/run/user/1000/tovanta.jpg");
    EXPECT_EQ(game::PrivateFolder::Join("/tmp/", "tovanta.mid"), "/tmp/tovanta.mid");
}

TEST(FormShowTest, ReseedsOnEveryShowAndReadsThePackageOnlyOnce)
{
    PackageGame p;
    p.game.ProgramPath = p.folder.file("no-such-player");
    p.window.clientWidth = 900;
    p.window.clientHeight = 640;
    p.game.FormShow(11);
    EXPECT_TRUE(p.window.sizedToWorkArea);
    EXPECT_FALSE(p.game.FirstShow);
    EXPECT_EQ(p.game.BoardWidth, 900);
    EXPECT_EQ(p.game.BoardHeight, 640);
    // The failed read ends the show: no build, no tune.
    EXPECT_EQ(p.messages(), std::vector<std::string>{kCannotOpen});
    EXPECT_TRUE(p.window.thumbnailPictures.empty());
    EXPECT_EQ(p.window.tunePlays, 0);

    p.game.FormShow(12);
    EXPECT_EQ(p.window.messages.size(), 1u) << "later shows read nothing";
    game::Random expected(12);
    EXPECT_EQ(p.game.RandomGenerator.Next(), expected.Next());
}

TEST(FormShowTest, FirstShowBuildsTheGameAndStartsTheTune)
{
    struct Case {
        const char* what;
        bool realPicture, tune, deviceFails;
        bool built;
        int plays;
        bool throws;
    };
    const Case cases[] = {
        {"picture and tune", true, true, false, true, 2, false}, // New game's start, then the show's own
        {"no tune", true, false, false, true, 0, false},
        {"a device that fails", true, true, true, true, 0, true}, // the show's start is not guarded
        {"a picture that cannot be loaded", false, true, false, false, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PackageGame p;
        p.window.clientWidth = 1000;
        p.window.clientHeight = 700;
        p.package.picture = c.realPicture ? PackageBuilder::JpegPicture(400, 300) : kPicture;
        if (c.tune)
            p.package.music = PackageBuilder::Tune();
        p.package.trailer.LevelCode = 1;
        p.window.tuneFails = c.deviceFails;
        p.game.ProgramPath = p.package.Write(p.folder.file("player"));
        // The window's resize creates the buffers at the work area's size.
        p.game.CreateBuffers(1000, 700);
        if (c.throws)
            EXPECT_THROW(p.game.FormShow(3), game::DeviceError);
        else
            EXPECT_NO_THROW(p.game.FormShow(3));
        EXPECT_EQ(!p.game.NoPuzzle, c.built);
        EXPECT_EQ(p.game.Pieces != nullptr, c.built);
        EXPECT_EQ(p.window.tunePlays, c.plays);
        if (!c.realPicture)
            EXPECT_EQ(p.messages(), std::vector<std::string>{"Unable to open " + p.game.TempPicturePath + "."});
        else
            EXPECT_TRUE(p.window.messages.empty());
    }
}
