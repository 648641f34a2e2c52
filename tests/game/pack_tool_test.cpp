// The authoring tool, run as the built program: what it writes must read back in the player,
// and what it refuses must leave no output behind.
#include "game/Game.h"
#include "support/PackageBuilder.h"
#include "support/RecordingWindow.h"
#include "support/ScratchFolder.h"
#include "support/TestPaths.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

using testing_support::PackageBuilder;
using testing_support::RecordingWindow;
using testing_support::ScratchFolder;

extern char** environ;

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string text(const std::string& path)
{
    const auto bytes = ScratchFolder::read(path);
    return std::string(bytes.begin(), bytes.end());
}

ToolRun run(const std::string& program, const std::vector<std::string>& args, const ScratchFolder& folder)
{
    const std::string out = folder.file("stdout.txt"), err = folder.file("stderr.txt");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> all = {program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ToolRun r;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        r.out = text(out);
        r.err = text(err);
        std::filesystem::remove(out);
        std::filesystem::remove(err);
    }
    posix_spawn_file_actions_destroy(&actions);
    return r;
}

std::string tool() { return testing_support::buildDir() + "/tovanta-pack"; }

std::vector<std::string> entries(const ScratchFolder& folder)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder.path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A scratch folder with a stand-in player, a BMP picture and a tune, and a game to read the
// packed result with.
struct PackFixture : ::testing::Test {
    ScratchFolder folder;
    const std::vector<std::uint8_t> playerBytes = std::vector<std::uint8_t>(3000, 0x5A);
    const std::vector<std::uint8_t> pictureBytes = PackageBuilder::BmpPicture(320, 240);
    const std::vector<std::uint8_t> tuneBytes = PackageBuilder::Tune();
    std::string player, picture, tune, output;

    void SetUp() override
    {
        if (::access(tool().c_str(), X_OK) != 0)
            GTEST_SKIP() << tool() << " is not built (it needs the audio layer)";
        player = folder.write("player", playerBytes);
        picture = folder.write("picture.bmp", pictureBytes);
        tune = folder.write("tune.mid", tuneBytes);
        output = folder.file("puzzle");
    }
    std::vector<std::string> basic() const { return {"--picture", picture, "--player", player, "-o", output}; }

    // Reads output back as the player would, extracting into a folder of its own.
    struct ReadBack {
        ScratchFolder extracted;
        RecordingWindow window;
        game::Game game{window};
        bool ok;
        explicit ReadBack(const std::string& program)
        {
            game.ProgramPath = program;
            game.TempFolder = extracted.path();
            ok = game.ReadPackage();
        }
    };
};

} // namespace

TEST_F(PackFixture, PackedPlayerReadsBackWithEverySetting)
{
    // A JPEG under a name that says otherwise: the content decides.
    const auto jpeg = PackageBuilder::JpegPicture(320, 240);
    const std::string jpegNamedBmp = folder.write("really-a-jpeg.bmp", jpeg);
    struct Case {
        const char* what;
        std::vector<std::string> args;
        int level, arrangement, scale;
        bool rotate, showOriginal;
        gfx::Color background;
        std::string message, pictureName;
        const std::vector<std::uint8_t>& picture;
        bool tune;
    };
    const Case cases[] = {
        {"every option",
         {"--picture", picture, "--music", tune, "--message", "Line one\nLine two", "--level", "2", "--arrangement",
          "random", "--scale", "80", "--rotate", "no", "--show-original", "no", "--background", "#1A2b3C",
          "--player", player, "-o", output},
         2, 2, 80, false, false, gfx::rgb(0x1A, 0x2B, 0x3C), "Line one\nLine two", "tovanta.bmp", pictureBytes, true},
        {"defaults", {"--picture", jpegNamedBmp, "--player", player, "-o", output},
         3, 3, 100, true, true, gfx::rgb(128, 0, 0), game::PackageTrailer::kDefaultMessage.data(), "tovanta.jpg",
         jpeg, false},
        {"grid, at level 1", {"--picture", picture, "--arrangement", "grid", "--level", "1", "--player", player, "-o", output},
         1, 1, 100, true, true, gfx::rgb(128, 0, 0), game::PackageTrailer::kDefaultMessage.data(), "tovanta.bmp",
         pictureBytes, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ToolRun r = run(tool(), c.args, folder);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        struct stat st {};
        ASSERT_EQ(::stat(output.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0755u);
        const auto packed = ScratchFolder::read(output);
        ASSERT_GT(packed.size(), playerBytes.size());
        EXPECT_TRUE(std::equal(playerBytes.begin(), playerBytes.end(), packed.begin())) << "the player comes first";
        EXPECT_EQ(ScratchFolder::read(player), playerBytes);

        ReadBack back(output);
        ASSERT_TRUE(back.ok);
        EXPECT_EQ(back.game.Level, c.level);
        EXPECT_EQ(back.game.Arrangement, c.arrangement);
        EXPECT_EQ(back.game.ScalePercent, c.scale);
        EXPECT_EQ(back.game.RotatePieces, c.rotate);
        EXPECT_EQ(back.game.ShowOriginal, c.showOriginal);
        EXPECT_EQ(back.game.BackgroundColor, c.background);
        EXPECT_EQ(back.window.progressMessage, c.message);
        EXPECT_EQ(back.game.TempPicturePath, back.extracted.file(c.pictureName));
        EXPECT_EQ(ScratchFolder::read(back.game.TempPicturePath), c.picture);
        if (c.tune)
            EXPECT_EQ(ScratchFolder::read(back.game.TempMusicPath), tuneBytes);
        else
            EXPECT_EQ(back.game.TempMusicPath, "");
    }
}

TEST_F(PackFixture, ReplacesAnEarlierOutputOnlyWhenDone)
{
    folder.write("puzzle", std::string("old puzzle"));
    ASSERT_EQ(run(tool(), basic(), folder).status, 0);
    ReadBack back(output);
    EXPECT_TRUE(back.ok);
    EXPECT_EQ(entries(folder), (std::vector<std::string>{"picture.bmp", "player", "puzzle", "tune.mid"}));
}

TEST_F(PackFixture, RefusesBadInputAndWritesNothing)
{
    const std::string notPicture = folder.write("notes.txt", std::string("just some text"));
    const std::string brokenBmp = folder.write("broken.bmp", std::string("BM\x10\0\0\0garbage", 13));
    const std::string brokenJpeg = folder.write("broken.jpg", std::string("\xFF\xD8\xFF\xE0 broken", 10));
    const std::string narrow = folder.write("narrow.bmp", PackageBuilder::BmpPicture(102, 300));
    const std::string square = folder.write("square.bmp", PackageBuilder::BmpPicture(204, 204));
    std::vector<std::uint8_t> headerOnly(tuneBytes.begin(), tuneBytes.begin() + 14);
    const std::string noTracks = folder.write("header.mid", headerOnly);
    const std::string notTune = folder.write("song.mid", std::string("not a tune at all"));

    struct Case {
        const char* what;
        std::vector<std::string> args;
        int status;
        std::string says;
    };
    const std::vector<std::string> base = basic();
    auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> a = base;
        a.insert(a.end(), extra.begin(), extra.end());
        return a;
    };
    const Case cases[] = {
        {"text as picture", {"--picture", notPicture, "--player", player, "-o", output}, 1, "neither a JPEG nor a BMP"},
        {"broken BMP", {"--picture", brokenBmp, "--player", player, "-o", output}, 1, "cannot be decoded as a BMP"},
        {"broken JPEG", {"--picture", brokenJpeg, "--player", player, "-o", output}, 1, "cannot be decoded as a JPEG"},
        {"missing picture", {"--picture", folder.file("none.jpg"), "--player", player, "-o", output}, 1,
         "cannot be read"},
        {"102 pixels at level 1", {"--picture", narrow, "--level", "1", "--player", player, "-o", output}, 1,
         "too small for level 1 at 100 %"},
        {"204 pixels at 50 % at level 1",
         {"--picture", square, "--level", "1", "--scale", "50", "--player", player, "-o", output}, 1,
         "too small for level 1 at 50 %"},
        {"message of 255 bytes", with({"--message", std::string(255, 'm')}), 1, "at most 254"},
        {"text as tune", with({"--music", notTune}), 1, notTune},
        {"tune without its track", with({"--music", noTracks}), 1, "not a MIDI file that can be played"},
        {"missing tune", with({"--music", folder.file("none.mid")}), 1, "cannot be opened"},
        {"missing player", {"--picture", picture, "--player", folder.file("none"), "-o", output}, 1,
         "Cannot read the player"},
        {"player as output", {"--picture", picture, "--player", player, "-o", player}, 1, "is the player itself"},
        {"unknown option", with({"--colour", "#000000"}), 2, "unknown option '--colour'"},
        {"missing value", with({"--level"}), 2, "--level needs a value"},
        {"no picture", {"--player", player, "-o", output}, 2, "--picture FILE is required"},
        {"no output", {"--picture", picture, "--player", player}, 2, "-o OUTPUT is required"},
        {"level 0", with({"--level", "0"}), 2, "--level takes a whole number from 1 to 4"},
        {"level 2x", with({"--level", "2x"}), 2, "not '2x'"},
        {"scale 0", with({"--scale", "0"}), 2, "--scale takes a whole number from 1 to 1000"},
        {"arrangement", with({"--arrangement", "spiral"}), 2, "grid, random or edge"},
        {"rotate", with({"--rotate", "maybe"}), 2, "--rotate takes yes or no"},
        {"show-original", with({"--show-original", "1"}), 2, "--show-original takes yes or no"},
        {"colour without #", with({"--background", "102030"}), 2, "#RRGGBB"},
        {"short colour", with({"--background", "#10203"}), 2, "#RRGGBB"},
    };
    const std::vector<std::string> before = entries(folder);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ToolRun r = run(tool(), c.args, folder);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.err.rfind("tovanta-pack: ", 0), 0u) << r.err;
        EXPECT_EQ(entries(folder), before) << "no output and no leftovers";
        EXPECT_EQ(ScratchFolder::read(player), playerBytes);
    }
    // The same square picture is big enough one level up.
    EXPECT_EQ(run(tool(), {"--picture", square, "--level", "4", "--scale", "50", "--player", player, "-o", output},
                  folder).status,
              0);
}

TEST_F(PackFixture, TakesThePlayerBesideItself)
{
    ScratchFolder install;
    const std::string copy = install.file("tovanta-pack");
    std::filesystem::copy_file(tool(), copy);
    ::chmod(copy.c_str(), 0755);
    install.write("tovanta", std::string("the installed player"));
    ToolRun r = run(copy, {"--picture", picture, "-o", output}, folder);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(text(output).rfind("the installed player", 0), 0u);

    std::filesystem::remove(install.file("tovanta"));
    r = run(copy, {"--picture", picture, "-o", output + "2"}, folder);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(install.file("tovanta")), std::string::npos) << r.err;
}

TEST_F(PackFixture, HelpDescribesEveryOption)
{
    ToolRun r = run(tool(), {"--help"}, folder);
    EXPECT_EQ(r.status, 0);
    for (const char* option : {"--picture", "--music", "--message", "--level", "--arrangement", "--scale", "--rotate",
                               "--show-original", "--background", "--player", "-o", "--help"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}
