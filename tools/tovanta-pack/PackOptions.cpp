#include "PackOptions.h"
#include <charconv>
#include <functional>
#include <map>

namespace pack {
namespace {

constexpr int kMinScale = 1;
constexpr int kMaxScale = 1000;

int parseInt(const std::string& option, const std::string& value, int low, int high)
{
    int v = 0;
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
    if (ec != std::errc() || end != value.data() + value.size() || v < low || v > high)
        throw UsageError(option + " takes a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + value + "'");
    return v;
}

bool parseYesNo(const std::string& option, const std::string& value)
{
    if (value == "yes")
        return true;
    if (value == "no")
        return false;
    throw UsageError(option + " takes yes or no, not '" + value + "'");
}

int parseArrangement(const std::string& value)
{
    static const std::map<std::string, int> names = {{"grid", 1}, {"random", 2}, {"edge", 3}};
    auto it = names.find(value);
    if (it == names.end())
        throw UsageError("--arrangement takes grid, random or edge, not '" + value + "'");
    return it->second;
}

// "#RRGGBB" as the package stores colours: red in the low byte.
std::uint32_t parseColor(const std::string& value)
{
    unsigned rgb = 0;
    bool ok = value.size() == 7 && value[0] == '#';
    if (ok) {
        auto [end, ec] = std::from_chars(value.data() + 1, value.data() + 7, rgb, 16);
        ok = ec == std::errc() && end == value.data() + 7;
    }
    if (!ok)
        throw UsageError("--background takes a colour written #RRGGBB, not '" + value + "'");
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

using Setter = std::function<void(PackOptions&, const std::string& option, const std::string& value)>;

const std::map<std::string, Setter>& setters()
{
    static const std::map<std::string, Setter> table = {
        {"--picture", [](PackOptions& o, auto&, auto& v) { o.picture = v; }},
        {"--music", [](PackOptions& o, auto&, auto& v) { o.music = v; }},
        {"--message", [](PackOptions& o, auto&, auto& v) { o.message = v; }},
        {"--level", [](PackOptions& o, auto& n, auto& v) { o.level = parseInt(n, v, 1, 4); }},
        {"--arrangement", [](PackOptions& o, auto&, auto& v) { o.arrangement = parseArrangement(v); }},
        {"--scale", [](PackOptions& o, auto& n, auto& v) { o.scalePercent = parseInt(n, v, kMinScale, kMaxScale); }},
        {"--rotate", [](PackOptions& o, auto& n, auto& v) { o.rotatePieces = parseYesNo(n, v); }},
        {"--show-original", [](PackOptions& o, auto& n, auto& v) { o.showOriginal = parseYesNo(n, v); }},
        {"--background", [](PackOptions& o, auto&, auto& v) { o.backgroundColor = parseColor(v); }},
        {"--player", [](PackOptions& o, auto&, auto& v) { o.player = v; }},
        {"-o", [](PackOptions& o, auto&, auto& v) { o.output = v; }},
        {"--output", [](PackOptions& o, auto&, auto& v) { o.output = v; }},
    };
    return table;
}

} // namespace

PackOptions PackOptions::Parse(const std::vector<std::string>& args)
{
    PackOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            o.help = true;
            continue;
        }
        auto it = setters().find(option);
        if (it == setters().end())
            throw UsageError("unknown option '" + option + "'");
        if (i + 1 == args.size())
            throw UsageError(option + " needs a value");
        it->second(o, option, args[++i]);
    }
    if (o.help)
        return o;
    if (o.picture.empty())
        throw UsageError("--picture FILE is required");
    if (o.output.empty())
        throw UsageError("-o OUTPUT is required");
    return o;
}

const char* const PackOptions::kHelp = R"(Usage: tovanta-pack --picture FILE [options] -o OUTPUT

Makes a puzzle: writes OUTPUT, a copy of the Tovanta player that carries the picture, the
tune and the settings below. Run OUTPUT to play it.

  --picture FILE        the picture, a JPEG or BMP file (told apart by content)
  --music FILE.mid      a standard MIDI file, played in a loop while the puzzle is open;
                        without it the puzzle has no music
  --message TEXT        the text of the start window, at most 254 bytes; line feeds in
                        TEXT start new lines (in a shell: $'first\nsecond'); without it the
                        player shows its own notice
  --level 1..4          1 has the fewest and largest pieces, 4 the most and smallest
                        (default 3)
  --arrangement grid|random|edge
                        how the pieces lie at the start: in a grid, at random over the
                        board, or at random along its edges (default edge)
  --scale PERCENT       the picture's size in percent, 1 to 1000 (default 100); the player
                        makes it smaller when it does not fit the screen
  --rotate yes|no       whether pieces start turned and may be turned (default yes)
  --show-original yes|no
                        whether the faded picture shows under the pieces at the start
                        (default yes)
  --background #RRGGBB  the colour of the board (default #800000)
  --player PATH         the player to copy (default: tovanta beside this tool); it is only
                        read, never changed
  -o, --output OUTPUT   the file to write, made executable; it is written only when
                        everything succeeds
  -h, --help            show this text

The picture must give at least two columns and two rows of pieces at the chosen level and
scale. Refusals are explained on standard error; the exit status is then 1 for bad input
and 2 for a mistake on the command line.
)";

} // namespace pack
