#include "tools/preview/menu_print.h"

#include "platform/sim/sim_control.h"
#include "tools/preview/code_pages.h"

static void FormatItems(HMENU menu, unsigned codePage, HMENU verbatimMenu, int depth, std::string *out)
{
    std::vector<SimMenuItem> items;
    if (depth > 8 || !SimGetMenuItems(menu, &items))
        return;
    std::string indent((size_t)depth * 2, ' ');
    for (const SimMenuItem &item : items) {
        if (item.Flags & MF_SEPARATOR) {
            *out += indent + "---\n";
            continue;
        }
        std::string label = menu == verbatimMenu ? item.Text : AnsiToUtf8(item.Text, codePage);
        *out += indent + ((item.Flags & MF_CHECKED) ? "[x] " : "") + label;
        if (item.Flags & MF_POPUP) {
            *out += " >\n";
            FormatItems(item.SubMenu, codePage, verbatimMenu, depth + 1, out);
        } else {
            *out += " (" + std::to_string((unsigned)item.Id) + ")\n";
        }
    }
}

std::string FormatMenuTree(HMENU menu, unsigned codePage, HMENU verbatimMenu)
{
    std::string out;
    FormatItems(menu, codePage, verbatimMenu, 0, &out);
    return out;
}
