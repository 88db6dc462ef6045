// Popup menus. Tracking runs no modal loop: the call is recorded and the
// test picks the item, which reaches the owner as Windows delivers it.
#include "platform/sim/sim_internal.h"

#include <string.h>

namespace {

struct MenuState {
    std::map<uintptr_t, std::vector<SimMenuItem>> Menus;
    SimTrackedMenu Tracked;
    bool ChoiceSet = false;
    UINT Choice = 0;
};

MenuState &Menus()
{
    static MenuState state;
    return state;
}

std::vector<SimMenuItem> *FindMenu(HMENU menu)
{
    auto it = Menus().Menus.find((uintptr_t)menu);
    if (it == Menus().Menus.end()) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return nullptr;
    }
    return &it->second;
}

// By command, the submenus are searched before the popup item that holds
// them, and the first match in order wins, as Windows does.
SimMenuItem *FindItem(HMENU menu, UINT item, UINT flags, int depth = 0)
{
    std::vector<SimMenuItem> *items = FindMenu(menu);
    if (!items || depth > 32)
        return nullptr;
    if (flags & MF_BYPOSITION)
        return item < items->size() ? &(*items)[item] : nullptr;
    SimMenuItem *fallback = nullptr;
    for (SimMenuItem &i : *items) {
        if (i.Flags & MF_POPUP) {
            if (SimMenuItem *found = FindItem(i.SubMenu, item, flags, depth + 1))
                return found;
            if (!fallback && (UINT)i.Id == item)
                fallback = &i;
        } else if ((UINT)i.Id == item) {
            return &i;
        }
    }
    return fallback;
}

bool IsCommandItem(const SimMenuItem &i) { return !(i.Flags & (MF_POPUP | MF_SEPARATOR | MF_GRAYED | MF_DISABLED)); }

void PostCommand(HWND owner, UINT id) { Sim().Posted.push_back(SimPosted{owner, WM_COMMAND, (WPARAM)id, 0}); }

}  // namespace

HMENU CreatePopupMenu(void)
{
    if (SimShouldFail("CreatePopupMenu")) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    uintptr_t h = SimNewHandle();
    Menus().Menus[h] = {};
    return (HMENU)h;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem)
{
    if (SimShouldFail("AppendMenuA"))
        return FALSE;
    std::vector<SimMenuItem> *items = FindMenu(menu);
    if (!items)
        return FALSE;
    if ((flags & MF_POPUP) && (!FindMenu((HMENU)idNewItem) || (HMENU)idNewItem == menu))
        return FALSE;
    SimMenuItem item;
    item.Flags = flags & ~MF_BYPOSITION;
    item.Id = idNewItem;
    item.SubMenu = (flags & MF_POPUP) ? (HMENU)idNewItem : nullptr;
    // A string item without a string becomes a separator, as in Windows.
    bool stringItem = !(flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW));
    if (stringItem && !newItem)
        item.Flags |= MF_SEPARATOR;
    else if (stringItem)
        item.Text = newItem;
    items->push_back(item);
    return TRUE;
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR text, int maxCount, UINT flags)
{
    if (SimShouldFail("GetMenuStringA"))
        return 0;
    if (text && maxCount > 0)
        text[0] = 0;
    SimMenuItem *found = FindItem(menu, item, flags);
    if (!found) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return 0;
    }
    if (!text || maxCount <= 0)
        return (int)found->Text.size();
    size_t n = found->Text.size() < (size_t)maxCount - 1 ? found->Text.size() : (size_t)maxCount - 1;
    memcpy(text, found->Text.data(), n);
    text[n] = 0;
    return (int)n;
}

// A menu takes the submenus attached to it along.
BOOL DestroyMenu(HMENU menu)
{
    auto it = Menus().Menus.find((uintptr_t)menu);
    if (it == Menus().Menus.end()) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    std::vector<SimMenuItem> items = std::move(it->second);
    Menus().Menus.erase(it);
    for (const SimMenuItem &i : items)
        if (i.Flags & MF_POPUP)
            DestroyMenu(i.SubMenu);
    if (Menus().Tracked.Menu == menu)
        Menus().Tracked.Open = false;
    return TRUE;
}

// Without TPM_RETURNCMD the result says whether the menu was shown and the
// chosen item arrives later as a posted WM_COMMAND; with it the result is the
// chosen id (0 when dismissed) and nothing is posted.
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS)
{
    if (SimShouldFail("TrackPopupMenuEx"))
        return FALSE;
    if (!FindMenu(menu))
        return FALSE;
    if (!SimFindWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    MenuState &m = Menus();
    m.Tracked = SimTrackedMenu{menu, flags, x, y, owner, false};
    if (!m.ChoiceSet) {
        m.Tracked.Open = !(flags & TPM_RETURNCMD);
        return TRUE;
    }
    m.ChoiceSet = false;
    SimMenuItem *chosen = m.Choice ? FindItem(menu, m.Choice, MF_BYCOMMAND) : nullptr;
    UINT id = chosen && IsCommandItem(*chosen) ? m.Choice : 0;
    if (flags & TPM_RETURNCMD)
        return (BOOL)id;
    if (id)
        PostCommand(owner, id);
    return TRUE;
}

bool SimGetMenuItems(HMENU menu, std::vector<SimMenuItem> *items)
{
    auto it = Menus().Menus.find((uintptr_t)menu);
    if (it == Menus().Menus.end())
        return false;
    *items = it->second;
    return true;
}

int SimLiveMenus() { return (int)Menus().Menus.size(); }

SimTrackedMenu SimLastTrackedMenu() { return Menus().Tracked; }

bool SimChooseMenuItem(UINT id)
{
    SimTrackedMenu &t = Menus().Tracked;
    if (!t.Open)
        return false;
    SimMenuItem *chosen = FindItem(t.Menu, id, MF_BYCOMMAND);
    if (!chosen || !IsCommandItem(*chosen))
        return false;
    t.Open = false;
    PostCommand(t.Owner, id);
    return true;
}

void SimSetMenuChoice(UINT id)
{
    Menus().ChoiceSet = true;
    Menus().Choice = id;
}

void SimResetMenus() { Menus() = MenuState{}; }
