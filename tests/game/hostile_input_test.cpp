// Program files carrying damaged or hostile packages, started the way the player starts: the
// first show reads the package, builds the game and starts the tune on the real media player.
// For every input the player shows its message (or none), never crashes, stays usable for a
// new game, writes nothing but its two extracted files and leaves the program file as it was.
#include "game/Game.h"
#include "gfx/BmpCodec.h"
#include "gfx/JpegEncoder.h"
#include "gfx/Raster.h"
#include "support/BoardChecks.h"
#include "support/MidiWriter.h"
#include "support/PackageBuilder.h"
#include "support/PlayerMessages.h"
#include "support/RecordingWindow.h"
#include "support/ScratchFolder.h"
#include "support/TestPaths.h"
#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include "gfx/GfxError.h"
#include "gfx/JpegDecoder.h"
#ifdef TOVANTA_HAVE_MEDIA_PLAYER
#include "audio/MediaPlayer.h"
#include "audio/MidiFile.h"
#endif

using Bytes = std::vector<std::uint8_t>;
using testing_support::MidiWriter;
using testing_support::PackageBuilder;
using testing_support::RecordingWindow;
using testing_support::ScratchFolder;

namespace {

using testing_support::kCannotReadImage;
using testing_support::kPictureDamaged;
using testing_support::kTuneDamaged;
const std::string& kTooSmall = testing_support::kImageTooSmall;
// Stands for the extraction folder in the expected messages.
const std::string kFolder = "{folder}";

#ifdef TOVANTA_HAVE_MEDIA_PLAYER
// The window's side of the music as the main window does it: the real media player, silent.
class MusicWindow : public RecordingWindow {
public:
    using RecordingWindow::RecordingWindow;
    void SetTuneFileName(const std::string& path) override
    {
        RecordingWindow::SetTuneFileName(path);
        m_player.SetFileName(path);
    }
    void OpenAndPlayTune() override
    {
        try {
            m_player.Close();
            m_player.Open();
            m_player.Play();
        } catch (const audio::DeviceError& e) {
            throw game::DeviceError(e.what());
        }
        ++tunePlays;
    }

private:
    audio::MediaPlayer m_player{[](std::function<void()>) {}, audio::Output::Silent};
};
#else
using MusicWindow = RecordingWindow;
#endif

std::uint64_t fnv1a(const Bytes& bytes)
{
    std::uint64_t h = 14695981039346656037ull;
    for (std::uint8_t b : bytes)
        h = (h ^ b) * 1099511628211ull;
    return h;
}

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> messagesOf(const RecordingWindow& w)
{
    std::vector<std::string> texts;
    for (const auto& m : w.messages)
        texts.push_back(m.text);
    return texts;
}

// A picture that any level cuts into a handful of pieces, and the files made of it.
gfx::Bitmap picture(int width, int height)
{
    gfx::Bitmap b(width, height, gfx::PixelFormat::Bgr24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.setValue(x, y, gfx::rgb(x, y, (x / 16 + y / 16) % 2 * 255));
    return b;
}
Bytes jpeg(int w = 200, int h = 150) { return gfx::EncodeJpeg(picture(w, h), 85); }
Bytes bmp(int w = 200, int h = 150) { return gfx::EncodeBmp(picture(w, h)); }
Bytes cut(Bytes b, std::size_t keep)
{
    b.resize(keep);
    return b;
}
void put32(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = std::uint8_t(v >> (8 * i));
}

// An 8-bit BMP, 200 x 150, of two palette colours, uncompressed or RLE8 (one run per row).
Bytes indexedBmp(bool rle)
{
    Bytes pixels;
    for (int y = 0; y < 150; ++y)
        if (rle)
            pixels.insert(pixels.end(), {200, std::uint8_t(y % 2), 0, 0});
        else
            pixels.insert(pixels.end(), 200, std::uint8_t(y % 2));
    if (rle)
        pixels.insert(pixels.end(), {0, 1});
    const std::size_t header = 14 + 40 + 8; // file header, info header, two palette entries
    Bytes f(header + pixels.size(), 0);
    f[0] = 'B', f[1] = 'M';
    put32(f, 14, 40);
    put32(f, 2, std::uint32_t(f.size()));
    put32(f, 10, std::uint32_t(header));
    put32(f, 18, 200);
    put32(f, 22, 150);
    f[26] = 1, f[28] = 8, f[30] = rle ? 1 : 0;
    put32(f, 46, 2);                                   // colours used
    put32(f, 54, 0x00C08040), put32(f, 58, 0x00406080); // the palette
    std::copy(pixels.begin(), pixels.end(), f.begin() + header);
    return f;
}

// The JPEG with the sizes of its frame header replaced.
Bytes jpegOfSize(int width, int height)
{
    Bytes b = jpeg();
    for (std::size_t i = 2; i + 8 < b.size(); ++i)
        if (b[i] == 0xFF && b[i + 1] == 0xC0) {
            b[i + 5] = std::uint8_t(height >> 8), b[i + 6] = std::uint8_t(height);
            b[i + 7] = std::uint8_t(width >> 8), b[i + 8] = std::uint8_t(width);
            break;
        }
    return b;
}

// The JPEG with the middle of its entropy-coded data overwritten by garbage.
Bytes corruptJpeg()
{
    Bytes b = jpeg();
    for (std::size_t i = b.size() / 2; i < b.size() / 2 + 200; ++i)
        b[i] = std::uint8_t(i * 7 % 251);
    return b;
}

enum class Outcome { Built, NoPuzzle };

struct HostileCase {
    const char* name;
    // The program file, made from a good package: a 200 x 150 JPEG at level 3, no tune.
    std::function<Bytes(PackageBuilder&)> file;
    std::vector<std::string> messages; // kFolder stands for the extraction folder
    Outcome outcome;
    const char* tuneError = nullptr; // part of the music device's error that the first show passes on
    std::function<void(const game::Game&, const RecordingWindow&)> alsoCheck = nullptr;
};

PackageBuilder goodPackage()
{
    PackageBuilder b;
    b.picture = jpeg();
    b.trailer.LevelCode = 3;
    b.trailer.SetMessage("A hostile test");
    return b;
}

// Helpers for the table: a package changed by one step.
template <class F>
std::function<Bytes(PackageBuilder&)> with(F change)
{
    return [change](PackageBuilder& b) {
        change(b);
        return b.Bytes();
    };
}
template <class F>
std::function<Bytes(PackageBuilder&)> withLengths(F change)
{
    return [change](PackageBuilder& b) {
        b.keepLengths = true;
        b.trailer.PictureSize = std::int32_t(b.picture.size());
        b.trailer.MusicSize = std::int32_t(b.music.size());
        change(b);
        return b.Bytes();
    };
}
std::function<Bytes(PackageBuilder&)> withPicture(Bytes picture, bool isBmp)
{
    return with([picture, isBmp](PackageBuilder& b) {
        b.picture = picture;
        b.trailer.PictureIsBmp = isBmp ? 1 : 0;
    });
}
std::string unableToOpen(const char* name) { return testing_support::unableToOpen(kFolder + "/" + name); }

// Level 3, and the layout's check mark only on the item of a known arrangement.
std::function<void(const game::Game&, const RecordingWindow&)> expectLevel3AndMarks(int arrangement)
{
    return [arrangement](const game::Game& g, const RecordingWindow& w) {
        EXPECT_EQ(g.Level, 3);
        EXPECT_EQ(g.Arrangement, arrangement);
        EXPECT_EQ(w.isChecked(game::MenuItem::ArrangeGrid), arrangement == 1);
        EXPECT_EQ(w.isChecked(game::MenuItem::Random), arrangement == 2);
        EXPECT_EQ(w.isChecked(game::MenuItem::RandomEdge), arrangement == 3);
    };
}

void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }

const HostileCase kCases[] = {
    // --- the program file and the package's lengths ---
    {"an empty program file", [](PackageBuilder&) { return Bytes{}; }, {kCannotReadImage}, Outcome::NoPuzzle},
    {"a file shorter than a trailer", [](PackageBuilder&) { return Bytes(283, 7); }, {kCannotReadImage}, Outcome::NoPuzzle},
    {"picture length -1", withLengths([](PackageBuilder& b) { b.trailer.PictureSize = -1; }), {kPictureDamaged},
     Outcome::NoPuzzle},
    {"picture length INT_MIN", withLengths([](PackageBuilder& b) { b.trailer.PictureSize = INT_MIN; }),
     {kPictureDamaged}, Outcome::NoPuzzle},
    {"picture longer than the file", withLengths([](PackageBuilder& b) { b.trailer.PictureSize = 1 << 24; }),
     {kPictureDamaged}, Outcome::NoPuzzle},
    {"picture length INT_MAX", withLengths([](PackageBuilder& b) { b.trailer.PictureSize = INT_MAX; }),
     {kPictureDamaged}, Outcome::NoPuzzle},
    {"picture length that wraps past 32 bits with the trailer",
     withLengths([](PackageBuilder& b) { b.trailer.PictureSize = INT_MAX - 100; }), {kPictureDamaged},
     Outcome::NoPuzzle},
    {"tune length -1",
     withLengths([](PackageBuilder& b) { b.music = MidiWriter::ShortTune(), b.trailer.MusicSize = -1; }),
     {kTuneDamaged}, Outcome::NoPuzzle},
    {"tune longer than the file",
     withLengths([](PackageBuilder& b) { b.music = MidiWriter::ShortTune(), b.trailer.MusicSize = 1 << 24; }),
     {kTuneDamaged}, Outcome::NoPuzzle},
    {"tune and picture lengths that overflow 32 bits together",
     withLengths([](PackageBuilder& b) { b.music = MidiWriter::ShortTune(), b.trailer.MusicSize = INT_MAX; }),
     {kTuneDamaged}, Outcome::NoPuzzle},

    // --- the picture ---
    {"no picture at all", withPicture({}, false), {unableToOpen("tovanta.jpg")}, Outcome::NoPuzzle},
    {"a JPEG declared a BMP", withPicture(jpeg(), true), {unableToOpen("tovanta.bmp")}, Outcome::NoPuzzle},
    {"a BMP declared a JPEG", withPicture(bmp(), false), {unableToOpen("tovanta.jpg")}, Outcome::NoPuzzle},
    {"a truncated JPEG", withPicture(cut(jpeg(), jpeg().size() * 2 / 3), false), {unableToOpen("tovanta.jpg")},
     Outcome::NoPuzzle},
    {"a JPEG with corrupt data", withPicture(corruptJpeg(), false), {unableToOpen("tovanta.jpg")}, Outcome::NoPuzzle},
    {"a truncated BMP", withPicture(cut(bmp(), bmp().size() - 10), true), {unableToOpen("tovanta.bmp")},
     Outcome::NoPuzzle},
    {"a BMP with a broken header", withPicture([] { Bytes b = bmp(); b[28] = 2; return b; }(), true),
     {unableToOpen("tovanta.bmp")}, Outcome::NoPuzzle},
    {"a JPEG of 65535 x 65535 pixels", withPicture(jpegOfSize(65535, 65535), false), {unableToOpen("tovanta.jpg")},
     Outcome::NoPuzzle},
    {"a BMP of 100000 x 100000 pixels",
     withPicture([] { Bytes b = bmp(); put32(b, 18, 100000), put32(b, 22, 100000); return b; }(), true),
     {unableToOpen("tovanta.bmp")}, Outcome::NoPuzzle},
    {"a BMP of 2^31 rows, top-down",
     withPicture([] { Bytes b = bmp(); put32(b, 22, 0x80000000u); return b; }(), true),
     {unableToOpen("tovanta.bmp")}, Outcome::NoPuzzle},
    {"a BMP whose palette index lies outside the palette",
     withPicture([] { Bytes b = indexedBmp(false); b.back() = 9; return b; }(), true),
     {unableToOpen("tovanta.bmp")}, Outcome::NoPuzzle},
    {"a BMP whose pixel data starts beyond the file",
     withPicture([] { Bytes b = indexedBmp(false); put32(b, 10, 0x7FFFFFF0); return b; }(), true),
     {unableToOpen("tovanta.bmp")}, Outcome::NoPuzzle},
    {"an RLE BMP whose data runs past the file",
     withPicture(cut(indexedBmp(true), indexedBmp(true).size() - 40), true), {unableToOpen("tovanta.bmp")},
     Outcome::NoPuzzle},
    {"an intact 8-bit BMP", withPicture(indexedBmp(false), true), {}, Outcome::Built},
    {"an intact RLE BMP", withPicture(indexedBmp(true), true), {}, Outcome::Built},
    {"a picture too small for level 1",
     with([](PackageBuilder& b) { b.picture = jpeg(102, 150), b.trailer.LevelCode = 1; }), {kTooSmall},
     Outcome::NoPuzzle},
    {"a picture too small for level 4",
     with([](PackageBuilder& b) { b.picture = jpeg(120, 50), b.trailer.LevelCode = 4; }), {kTooSmall},
     Outcome::NoPuzzle},

    // --- the tune: the puzzle is built, then the first show passes the device's error on ---
    {"a truncated tune",
     with([](PackageBuilder& b) { b.music = cut(MidiWriter::ShortTune(), MidiWriter::ShortTune().size() - 5); }), {},
     Outcome::Built, "is not a MIDI file that can be played"},
    {"a tune with corrupt events",
     with([](PackageBuilder& b) {
         b.music = MidiWriter().Raw(0, {0x90, 0x80, 0x80}).Raw(96, {0xF4}).Bytes();
     }),
     {}, Outcome::Built, "is not a MIDI file that can be played"},
    {"a tune that is no MIDI file", with([](PackageBuilder& b) { b.music = Bytes(500, 0x4D); }), {}, Outcome::Built,
     "does not start with a MIDI header"},

    // --- the message and the settings ---
    {"a message without its zero byte",
     with([](PackageBuilder& b) { b.trailer.MessageText.fill('A'); }), {}, Outcome::Built, nullptr,
     [](const game::Game&, const RecordingWindow& w) { EXPECT_EQ(w.progressMessage, std::string(254, 'A')); }},
    {"level code -128", with([](PackageBuilder& b) { b.trailer.LevelCode = -128; }), {}, Outcome::Built, nullptr,
     expectLevel3AndMarks(3)},
    {"level code 0", with([](PackageBuilder& b) { b.trailer.LevelCode = 0; }), {}, Outcome::Built, nullptr,
     expectLevel3AndMarks(3)},
    {"level code 127", with([](PackageBuilder& b) { b.trailer.LevelCode = 127; }), {}, Outcome::Built, nullptr,
     expectLevel3AndMarks(3)},
    {"arrangement 0", with([](PackageBuilder& b) { b.trailer.Arrangement = 0; }), {}, Outcome::Built, nullptr,
     expectLevel3AndMarks(0)},
    {"arrangement -1", with([](PackageBuilder& b) { b.trailer.Arrangement = -1; }), {}, Outcome::Built, nullptr,
     expectLevel3AndMarks(-1)},
    {"arrangement INT_MAX", with([](PackageBuilder& b) { b.trailer.Arrangement = INT_MAX; }), {}, Outcome::Built,
     nullptr, expectLevel3AndMarks(INT_MAX)},
    {"arrangement INT_MIN", with([](PackageBuilder& b) { b.trailer.Arrangement = INT_MIN; }), {}, Outcome::Built,
     nullptr, expectLevel3AndMarks(INT_MIN)},
    {"scale 0 %", with([](PackageBuilder& b) { b.trailer.ScalePercent = 0; }), {kTooSmall}, Outcome::NoPuzzle},
    {"scale -1 %", with([](PackageBuilder& b) { b.trailer.ScalePercent = -1; }), {kTooSmall}, Outcome::NoPuzzle},
    {"scale INT_MIN %", with([](PackageBuilder& b) { b.trailer.ScalePercent = INT_MIN; }), {kTooSmall},
     Outcome::NoPuzzle},
    // 200 x INT_MAX overflows 32 bits; in 64 bits it is far too large, so the fitting takes over.
    {"scale INT_MAX %", with([](PackageBuilder& b) { b.trailer.ScalePercent = INT_MAX; }), {}, Outcome::Built, nullptr,
     [](const game::Game& g, const RecordingWindow&) {
         EXPECT_EQ(g.ScalePercent, 125);
         EXPECT_EQ(g.GhostPicture->width(), g.Columns * (g.CellSize - g.KnobSize) - g.LastColumnTrim);
     }},
    // 200 x 10737418 is the largest product below 2^31 for this width; one more wraps in 32 bits.
    {"scale 10737418 %, the width times it just within 32 bits",
     with([](PackageBuilder& b) { b.trailer.ScalePercent = 10737418; }), {}, Outcome::Built, nullptr,
     [](const game::Game& g, const RecordingWindow&) { EXPECT_EQ(g.ScalePercent, 125); }},
    {"scale 10737419 %, the width times it just beyond 32 bits",
     with([](PackageBuilder& b) { b.trailer.ScalePercent = 10737419; }), {}, Outcome::Built, nullptr,
     [](const game::Game& g, const RecordingWindow&) { EXPECT_EQ(g.ScalePercent, 125); }},
};

class HostileInputTest : public ::testing::TestWithParam<HostileCase> {
protected:
    ScratchFolder folder;

    std::string extractFolder() const { return folder.file("extract"); }
    std::string expand(std::string text) const
    {
        if (auto at = text.find(kFolder); at != std::string::npos)
            text.replace(at, kFolder.size(), extractFolder());
        return text;
    }
    std::vector<std::string> expanded(const std::vector<std::string>& texts) const
    {
        std::vector<std::string> out;
        for (const auto& t : texts)
            out.push_back(expand(t));
        return out;
    }
};

// The first show, as the window's standard error report sees it: the music device's error, if
// one escapes, is caught there and the program goes on.
std::string firstShow(game::Game& game)
{
    try {
        game.FormShow(4711);
    } catch (const game::DeviceError& e) {
        return e.what();
    }
    return {};
}

// A drag of the topmost piece that anyone can grab, then the board's rules.
void playOnce(game::Game& game, std::size_t pieces)
{
    const auto order = testing_support::zOrderOf(game);
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (auto p = testing_support::grabPoint(game, **it)) {
            game.FormMouseDown(game::MouseButton::Left, {}, p->x, p->y);
            game.FormMouseMove(p->x + 9, p->y + 4);
            game.FormMouseUp(p->x + 9, p->y + 4);
            break;
        }
    EXPECT_TRUE(testing_support::BoardIsSound(game, pieces));
}

} // namespace

TEST_P(HostileInputTest, ShowsItsMessageStaysUsableAndWritesOnlyItsFiles)
{
    const HostileCase& c = GetParam();
    PackageBuilder builder = goodPackage();
    const Bytes program = c.file(builder);
    const std::string programPath = folder.write("player", program);
    std::filesystem::create_directory(extractFolder());
    std::filesystem::permissions(extractFolder(), std::filesystem::perms::owner_all);
    const std::uint64_t hashBefore = fnv1a(program);

    MusicWindow window(640, 480);
    {
        game::Game game(window);
        game.ProgramPath = programPath;
        game.TempFolder = extractFolder();

        const std::string tuneError = firstShow(game);
        EXPECT_EQ(messagesOf(window), expanded(c.messages));
        for (const auto& m : window.messages)
            EXPECT_EQ(m.icon, game::MessageIcon::Error) << m.text;
#ifdef TOVANTA_HAVE_MEDIA_PLAYER
        if (c.tuneError)
            EXPECT_NE(tuneError.find(c.tuneError), std::string::npos) << "the device said: " << tuneError;
        else
            EXPECT_EQ(tuneError, "");
#else
        (void)tuneError; // the stand-in's music never fails
#endif
        EXPECT_EQ(game.Pieces != nullptr, c.outcome == Outcome::Built);
        EXPECT_EQ(game.NoPuzzle, c.outcome == Outcome::NoPuzzle);
        EXPECT_EQ(window.busyCursorDepth, 0);
        if (c.alsoCheck)
            c.alsoCheck(game, window);
        for (const std::string& name : namesIn(extractFolder()))
            EXPECT_TRUE(name == "tovanta.jpg" || name == "tovanta.bmp" || name == "tovanta.mid") << name;

        // Still usable: a new game rebuilds the same puzzle, or, with no usable picture, says
        // that there is nothing to cut; play goes on by the board's rules.
        window.messages.clear();
        game.NewGameMenuClick();
        EXPECT_EQ(messagesOf(window), c.outcome == Outcome::Built ? std::vector<std::string>{}
                                                                  : std::vector<std::string>{kTooSmall});
        if (game.Pieces)
            playOnce(game, std::size_t(game.Columns * game.Rows));
        EXPECT_EQ(window.busyCursorDepth, 0);
    }
    EXPECT_EQ(namesIn(extractFolder()), std::vector<std::string>{}) << "the extracted files outlive the game";
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"extract", "player"}));
    EXPECT_EQ(fnv1a(ScratchFolder::read(programPath)), hashBefore) << "the program file changed";
}

INSTANTIATE_TEST_SUITE_P(Packages, HostileInputTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<HostileCase>& info) {
                             std::string name;
                             for (char ch : std::string(info.param.name))
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

// The extracted picture taken away while the game runs: the next new game cannot open it and
// says so, and the one after that has no picture left to cut.
TEST(HostileInputRunTest, PictureRemovedBeforeANewGame)
{
    ScratchFolder folder;
    PackageBuilder b = goodPackage();
    const std::string programPath = b.Write(folder.file("player"));
    RecordingWindow window(640, 480);
    game::Game game(window);
    game.ProgramPath = programPath;
    game.TempFolder = folder.path();
    game.FormShow(1);
    ASSERT_TRUE(game.Pieces);
    std::filesystem::remove(game.TempPicturePath);

    game.NewGameMenuClick();
    game.NewGameMenuClick();
    EXPECT_EQ(messagesOf(window), (std::vector<std::string>{testing_support::unableToOpen(game.TempPicturePath), kTooSmall}));
    EXPECT_FALSE(game.Pieces);
    EXPECT_TRUE(game.NoPuzzle);
}

// --- findings of the fuzz targets --------------------------------------------------------------

namespace {

// The files of tests/fixtures/<target>: inputs that once broke the fuzz target of that name.
std::vector<std::string> fixturesOf(const std::string& target)
{
    std::vector<std::string> files;
    const std::filesystem::path folder = std::filesystem::path(testing_support::sourceDir()) / "tests/fixtures" / target;
    if (std::filesystem::is_directory(folder))
        for (const auto& e : std::filesystem::directory_iterator(folder))
            files.push_back(e.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

// The start-up of the startup and package targets: a first show of the file on a small board,
// a new game, and the files the game leaves.
void startUpFrom(const std::string& fixture)
{
    ScratchFolder folder;
    const Bytes program = ScratchFolder::read(fixture);
    const std::string programPath = folder.write("player", program);
    std::filesystem::create_directory(folder.file("extract"));
    {
        MusicWindow window(320, 240);
        game::Game game(window);
        game.ProgramPath = programPath;
        game.TempFolder = folder.file("extract");
        EXPECT_NO_THROW(firstShow(game));
        EXPECT_NO_THROW(game.NewGameMenuClick());
        if (game.Pieces) {
            EXPECT_TRUE(testing_support::BoardIsSound(game, std::size_t(game.Columns * game.Rows)));
        }
    }
    EXPECT_EQ(namesIn(folder.file("extract")), std::vector<std::string>{});
    EXPECT_EQ(ScratchFolder::read(programPath), program);
}

template <class Decode>
void decodeOrRefuse(const std::string& fixture, Decode decode)
{
    const Bytes bytes = ScratchFolder::read(fixture);
    try {
        const gfx::Bitmap b = decode(bytes.data(), bytes.size());
        EXPECT_EQ(b.format(), gfx::PixelFormat::Bgr24);
    } catch (const gfx::DecodeError&) {
    }
}

} // namespace

// Every finding of a fuzz target, kept as a fixture when it was fixed, goes through the same
// code again; under the sanitizers (make test) a return of the fault fails here.
TEST(FuzzFindingTest, EveryFixtureRunsCleanly)
{
    for (const char* target : {"package", "startup"})
        for (const std::string& f : fixturesOf(target)) {
            SCOPED_TRACE(f);
            startUpFrom(f);
        }
    for (const std::string& f : fixturesOf("bmp")) {
        SCOPED_TRACE(f);
        decodeOrRefuse(f, gfx::DecodeBmp);
    }
    for (const std::string& f : fixturesOf("jpeg")) {
        SCOPED_TRACE(f);
        decodeOrRefuse(f, gfx::DecodeJpeg);
    }
#ifdef TOVANTA_HAVE_MEDIA_PLAYER
    for (const std::string& f : fixturesOf("midi")) {
        SCOPED_TRACE(f);
        const Bytes bytes = ScratchFolder::read(f);
        const bool accepted = audio::MidiFileProblem(bytes.data(), bytes.size()).empty();
        audio::MediaPlayer player([](std::function<void()>) {}, audio::Output::Silent);
        player.SetFileName(f);
        if (accepted)
            EXPECT_NO_THROW(player.Open());
        else
            EXPECT_THROW(player.Open(), audio::DeviceError);
    }
#endif
}

// The package's level is a signed byte, but SetLevel takes any int: the extremes of an int
// select level 3 like every other code outside 1 to 4 and 11 to 14.
TEST(HostileInputRunTest, LevelCodesAtTheEndsOfAnInt)
{
    RecordingWindow window;
    game::Game game(window);
    for (int code : {INT_MAX, INT_MIN, INT_MIN + 10, INT_MAX - 10}) {
        game.SetLevel(code);
        EXPECT_EQ(game.Level, 3) << code;
        EXPECT_EQ(game.CellSize, 64) << code;
    }
}
