// The data the shared flows (flows.cpp) and the scenarios of a held clock
// use on both runners: the option commands, the malformed hand-overs, the
// intrusions on a held clock, and a language with its texts.
#pragma once

#include "settings/menu_commands.h"
#include "shell/clock_wndproc.h"
#include "tools/standin/face_options.h"

#include <string.h>

// The option commands and the value each flips (one byte, 0xFF or 0x00; the
// autostart entry's presence for StartWithWindows, which is no face option).
struct OptionCommand {
    UINT Id;
    const char *Value;
    unsigned Bit;
};
inline constexpr OptionCommand OptionCommands[] = {
    {ShowSecondsCommand, "ShowSeconds", OptSeconds},
    {ShowDateCommand, "ShowDate", OptDate},
    {DateIsLeftCommand, "DateIsLeft", OptLeft},
    {EnglishTimeCommand, "EnglishTime", Opt12h},
    {TransparentClockCommand, "TransparentClock", OptTransparent},
    {ShowDayOfWeekCommand, "ShowDayOfWeek", OptWeekday},
    {StartWithWindowsCommand, "StartWithWindows", 0},
};
// From no option: on one by one, then some off again; every face they make.
inline constexpr UINT OptionOrder[] = {ShowSecondsCommand, ShowDateCommand,    ShowDayOfWeekCommand,
                                       EnglishTimeCommand, DateIsLeftCommand,  TransparentClockCommand,
                                       ShowDateCommand,    ShowSecondsCommand, TransparentClockCommand};

// Hand-overs that the clock passes to Explorer's procedure untouched: of
// the wrong size, or of the right size without a terminated host path.
struct MalformedHandOver {
    DWORD Size;
    bool Terminated;
};
inline constexpr MalformedHandOver MalformedHandOvers[] = {
    {0, true}, {HandOverRecordSize - 1, true}, {HandOverRecordSize + 1, true}, {HandOverRecordSize, false}};

// What another program does to the clock a controller holds. Every one but
// the last leaves the face and its holder as they were; the last names the
// holder's window, is taken for it, and the clock is free until the
// controller attaches again.
enum IntrusionKind {
    ForeignHandOver,     // a well-formed hand-over naming the intruder's window
    HandOverNamingNone,  // the same naming no window
    Unsubclass,          // the unsubclass message to the clock and the notification area
    LoadAndFree,         // loading and freeing the library
    SecondController,    // attaching as a second controller (refused) and detaching
    UnsubclassAsHolder,  // the unsubclass message naming the holder's window
};
struct Intrusion {
    IntrusionKind Kind;
    const char *What;
};
inline constexpr Intrusion Intrusions[] = {
    {ForeignHandOver, "a hand-over of the record's size from another program"},
    {HandOverNamingNone, "the same naming no window"},
    {Unsubclass, "the unsubclass message to both windows"},
    {LoadAndFree, "loading and freeing the library"},
    {SecondController, "a second controller attaching and detaching"},
    {UnsubclassAsHolder, "the unsubclass message naming the holder"},
};

// The hand-over another program sends, naming the given window.
inline HandOverRecord ForeignHandOverRecord(HWND sender)
{
    HandOverRecord record{};
    strcpy(record.HostPath, "C:\\Elsewhere\\x.exe");
    record.ControllerWnd = (uint32_t)(uintptr_t)sender;
    return record;
}

// A language command and what the settings hold after it: Lang, and the
// menu's texts in the language's code page (1251), written out here rather
// than taken from the library's own tables.
inline constexpr char ExpectedLanguage[] = "Russian";
inline constexpr unsigned ExpectedLanguageIndex = 14;
inline constexpr const char *ExpectedTexts[12][2] = {
    {"AdjustDateSTR", "\xcd\xe0\xf1\xf2\xf0\xee\xe9\xea\xe0 \xe4\xe0\xf2\xfb/\xe2\xf0\xe5\xec\xe5\xed\xe8"},
    {"ExitSTR", "\xc2\xfb\xf5\xee\xe4"},
    {"OptionsSTR", "\xcd\xe0\xf1\xf2\xf0\xee\xe9\xea\xe8"},
    {"ShowDateOnLeftSTR", "\xcf\xee\xea\xe0\xe7\xfb\xe2\xe0\xf2\xfc \xe4\xe0\xf2\xf3 \xf1\xeb\xe5\xe2\xe0"},
    {"ShowDateSTR", "\xcf\xee\xea\xe0\xe7\xfb\xe2\xe0\xf2\xfc \xe4\xe0\xf2\xf3"},
    {"ShowSecondsSTR", "\xcf\xee\xea\xe0\xe7\xfb\xe2\xe0\xf2\xfc \xf1\xe5\xea\xf3\xed\xe4\xfb"},
    {"ShowDayOfWeekSTR", "\xcf\xee\xea\xe0\xe7\xfb\xe2\xe0\xf2\xfc \xc4\xe5\xed\xfc \xcd\xe5\xe4\xe5\xeb\xe8"},
    {"SkinsSTR", "\xc2\xe8\xe4\xfb"},
    {"TransparentBackgroundSTR", "\xcf\xf0\xee\xe7\xf0\xe0\xf7\xed\xfb\xe9 \xf4\xee\xed"},
    {"Use12HourFormatSTR", "12 \xf7\xe0\xf1\xee\xe2\xee\xe9 \xf4\xee\xf0\xec\xe0\xf2"},
    {"ZantorDialwickStartUpSTR",
     "\xc7\xe0\xef\xf3\xf1\xea\xe0\xf2\xfc \xf7\xe0\xf1\xfb \xe2\xec\xe5\xf1\xf2\xe5 \xf1 Windows"},
    {"LangSTR", "\xdf\xe7\xfb\xea\xe8"},
};
