// The Skins submenu: one item per skin folder in SkinBaseDir.
#include "settings/context_menu.h"

#include "engine/clock_state.h"
#include "settings/menu_commands.h"

#include <stdio.h>
#include <string.h>

// Closes the listing when the routine that opened it returns.
struct FindHandleGuard {
    HANDLE Find = INVALID_HANDLE_VALUE;
    FindHandleGuard() = default;
    FindHandleGuard(const FindHandleGuard &) = delete;
    FindHandleGuard &operator=(const FindHandleGuard &) = delete;
    ~FindHandleGuard()
    {
        if (Find != INVALID_HANDLE_VALUE)
            FindClose(Find);
    }
};

// Exactly a folder: any further attribute (read-only, hidden, system, archive,
// ...) leaves it out, and so does a name with a leading dot.
static bool IsSkinFolder(const WIN32_FIND_DATAA &entry)
{
    return entry.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY && entry.cFileName[0] != '.';
}

HMENU BuildSkinsMenu()
{
    ClockState.SkinsMenu = CreatePopupMenu();
    if (!ClockState.SkinsMenu)
        return nullptr;
    // A base folder too long for the pattern lists nothing.
    char pattern[PathSize];
    int n = snprintf(pattern, sizeof(pattern), "%.*s\\*", (int)strnlen(ClockState.SkinBaseDir, PathSize),
                     ClockState.SkinBaseDir);
    if (n <= 0 || n >= PathSize)
        return ClockState.SkinsMenu;

    WIN32_FIND_DATAA entry;
    FindHandleGuard find;
    find.Find = FindFirstFileA(pattern, &entry);
    if (find.Find == INVALID_HANDLE_VALUE)
        return ClockState.SkinsMenu;
    UINT id = FirstSkinCommand;
    do {
        if (!IsSkinFolder(entry))
            continue;
        // Case-sensitive, although the file system finds the folder in any case.
        bool current = strncmp(entry.cFileName, ClockState.CurrentSkinName, SkinNameSize) == 0;
        AppendMenuA(ClockState.SkinsMenu, MF_STRING | (current ? MF_CHECKED : 0), id, entry.cFileName);
        id++;
    } while (id <= LastMenuItemId && FindNextFileA(find.Find, &entry));
    return ClockState.SkinsMenu;
}
