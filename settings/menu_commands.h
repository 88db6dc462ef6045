// Command ids of the popup menu, as they arrive in WM_COMMAND.
#pragma once

#include "platform/platform.h"

constexpr UINT ExitCommand = 101;
constexpr UINT LayeredModeCommand = 102;  // no menu item carries it
constexpr UINT AdjustDateCommand = 103;
constexpr UINT ShowSecondsCommand = 200;
constexpr UINT ShowDateCommand = 201;
constexpr UINT DateIsLeftCommand = 202;
constexpr UINT EnglishTimeCommand = 203;
constexpr UINT TransparentClockCommand = 204;
constexpr UINT StartWithWindowsCommand = 205;
constexpr UINT FirstLanguageCommand = 206;  // + language index 0..15
constexpr UINT HomePageCommand = 222;
constexpr UINT ShowDayOfWeekCommand = 223;
constexpr UINT FirstSkinCommand = 1000;  // + position in the Skins submenu
constexpr UINT LastSkinCommand = 1099;   // the last one the commands act on

// WM_COMMAND carries the id in 16 bits: the Skins submenu stops here so that
// no id wraps onto another command.
constexpr UINT LastMenuItemId = 0xFFFF;
