#include "tools/Script.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace clihost
{
namespace
{
// A time from 0 up to Script::maxSeconds, checked before it becomes a frame: a number past the range of
// a frame count has no frame.
bool readTime(const std::string& word, double sampleRate, int64_t& frame)
{
    try
    {
        size_t used = 0;
        const bool inSeconds = !word.empty() && word.back() == 's';
        const double number = std::stod(inSeconds ? word.substr(0, word.size() - 1) : word, &used);
        const double frames = inSeconds ? number * sampleRate : number;
        if (used != word.size() - (inSeconds ? 1 : 0) || !(frames >= 0.0 && frames <= Script::maxSeconds * sampleRate))
            return false;
        frame = static_cast<int64_t>(std::llround(frames));
        return true;
    }
    catch (...)
    {
        return false;
    }
}

bool inRange(int value, int low, int high) { return value >= low && value <= high; }

bool readCommand(std::istringstream& words, const std::string& command, ScriptEvent& event)
{
    using Kind = ScriptEvent::Kind;
    int a = 0, b = 0, c = 0;
    if (command == "note" || command == "cc")
    {
        if (!(words >> a >> b >> c) || !inRange(a, 1, 16) || !inRange(b, 0, 127) || !inRange(c, 0, 127))
            return false;
        const int status = (command == "note" ? 0x90 : 0xB0) | (a - 1);
        event.bytes = { static_cast<uint8_t>(status), static_cast<uint8_t>(b), static_cast<uint8_t>(c) };
        return true;
    }
    if (command == "off")
    {
        if (!(words >> a >> b) || !inRange(a, 1, 16) || !inRange(b, 0, 127))
            return false;
        event.bytes = { static_cast<uint8_t>(0x80 | (a - 1)), static_cast<uint8_t>(b), 0 };
        return true;
    }
    if (command == "midi")
    {
        std::vector<uint8_t> bytes;
        std::string hex;
        while (words >> hex)
        {
            size_t used = 0;
            int byte = -1;
            try
            {
                byte = std::stoi(hex, &used, 16);
            }
            catch (...)
            {
                return false;
            }
            if (used != hex.size() || !inRange(byte, 0, 255))
                return false;
            bytes.push_back(static_cast<uint8_t>(byte));
        }
        event.bytes = bytes;
        return !bytes.empty();
    }
    if (command == "tempo" || command == "tempo-in-block" || command == "position")
    {
        event.kind = command == "position" ? Kind::position : command == "tempo" ? Kind::tempo : Kind::tempoInBlock;
        return static_cast<bool>(words >> event.value) && std::isfinite(event.value)
               && (command == "position" || event.value > 0.0);
    }
    if (command == "report-rounding" || command == "report-tempo-jitter")
    {
        event.kind = command == "report-rounding" ? Kind::reportRounding : Kind::reportTempoJitter;
        return static_cast<bool>(words >> event.value) && std::isfinite(event.value) && event.value >= 0.0;
    }
    if (command == "report-sample-position")
    {
        std::string how;
        event.kind = Kind::reportSamplePosition;
        if (!(words >> how) || (how != "held" && how != "moving"))
            return false;
        event.first = how == "held" ? 1 : 0;
        return true;
    }
    if (command == "play" || command == "stop")
    {
        event.kind = command == "play" ? Kind::play : Kind::stop;
        return true;
    }
    if (command == "timesig")
    {
        event.kind = Kind::timeSignature;
        return static_cast<bool>(words >> event.first >> event.second) && inRange(event.first, 1, 64)
               && inRange(event.second, 1, 64);
    }
    if (command == "param")
    {
        event.kind = Kind::parameter;
        return static_cast<bool>(words >> event.first >> event.value) && event.first >= 0 && event.value >= 0.0
               && event.value <= 1.0;
    }
    return false;
}
} // namespace

MidiBytes::MidiBytes(const uint8_t* bytes, size_t size) : count(static_cast<uint32_t>(size))
{
    if (size > sizeof small)
        large.reset(new uint8_t[size]);
    std::copy(bytes, bytes + size, large != nullptr ? large.get() : small);
}

bool MidiBytes::operator==(const std::vector<uint8_t>& bytes) const
{
    return std::equal(begin(), end(), bytes.begin(), bytes.end());
}

bool Script::parse(const std::string& text, double sampleRate, Script& script, std::string& error)
{
    script = Script {};
    // Room for every line that may hold an event, so the events take no more than their own size.
    size_t commandLines = 0;
    for (size_t start = 0; start < text.size();)
    {
        const size_t first = text.find_first_not_of(" \t\r", start);
        commandLines += first != std::string::npos && text[first] != '\n' && text[first] != '#' ? 1 : 0;
        const size_t end = text.find('\n', start);
        start = end == std::string::npos ? text.size() : end + 1;
    }
    script.events.reserve(commandLines);

    size_t start = 0;
    for (int number = 1; start < text.size(); ++number)
    {
        const size_t end = std::min(text.find('\n', start), text.size());
        const auto comment = std::find(text.begin() + static_cast<std::ptrdiff_t>(start),
                                       text.begin() + static_cast<std::ptrdiff_t>(end), '#');
        const std::string line(text.begin() + static_cast<std::ptrdiff_t>(start), comment);
        start = end + 1;
        std::istringstream words(line);
        std::string keyword, time, command, rest;
        if (!(words >> keyword))
            continue;
        const auto fail = [&] {
            error = "line " + std::to_string(number) + ": cannot read \"" + line + "\"";
            script = Script {};
            return false;
        };
        int64_t frame = 0;
        if (keyword == "end")
        {
            if (!(words >> time) || !readTime(time, sampleRate, frame) || (words >> rest))
                return fail();
            script.lengthFrames = frame;
            continue;
        }
        if (keyword != "at" || !(words >> time >> command) || !readTime(time, sampleRate, frame))
            return fail();
        ScriptEvent event;
        event.frame = frame;
        event.line = number;
        if (!readCommand(words, command, event) || (words >> rest))
            return fail();
        script.events.push_back(std::move(event));
    }
    // In place: frame and line order every event.
    std::sort(script.events.begin(), script.events.end(), [](const ScriptEvent& a, const ScriptEvent& b) {
        return a.frame != b.frame ? a.frame < b.frame : a.line < b.line;
    });
    return true;
}
} // namespace clihost
