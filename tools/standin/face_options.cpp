#include "tools/standin/face_options.h"

#include "engine/clock_state.h"

static const struct {
    const char *Name;
    unsigned Bit;
} OptionNames[] = {
    {"seconds", OptSeconds}, {"date", OptDate}, {"left", OptLeft},
    {"weekday", OptWeekday}, {"12h", Opt12h},   {"transparent", OptTransparent},
};

bool ParseFaceOptions(const char *list, unsigned *options)
{
    *options = 0;
    std::string all = list ? list : "";
    if (all == "none")
        return true;
    size_t start = 0;
    while (start <= all.size()) {
        size_t end = all.find(',', start);
        if (end == std::string::npos)
            end = all.size();
        std::string word = all.substr(start, end - start);
        if (!word.empty()) {
            bool known = false;
            for (const auto &o : OptionNames)
                if (word == o.Name) {
                    *options |= o.Bit;
                    known = true;
                }
            if (!known)
                return false;
        }
        start = end + 1;
    }
    return true;
}

std::string FormatFaceOptions(unsigned options)
{
    std::string out;
    for (const auto &o : OptionNames)
        if (options & o.Bit)
            out += (out.empty() ? "" : ",") + std::string(o.Name);
    return out.empty() ? "none" : out;
}

static Flag AsFlag(unsigned options, unsigned bit) { return (options & bit) ? FlagTrue : 0; }

void SetOptionFlags(unsigned options)
{
    ClockState.ShowSeconds = AsFlag(options, OptSeconds);
    ClockState.ShowDate = AsFlag(options, OptDate);
    ClockState.DateIsLeft = AsFlag(options, OptLeft);
    ClockState.ShowDayOfWeek = AsFlag(options, OptWeekday);
    ClockState.EnglishTime = AsFlag(options, Opt12h);
    ClockState.TransparentClock = AsFlag(options, OptTransparent);
}
