// The popup menu tree: its structure and the English labels of a fresh
// account, and the Skins submenu at its bounds.
#include "settings/context_menu.h"
#include "settings/menu_language.h"
#include "tests/engine/test_support.h"
#include "tests/settings/settings_support.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

namespace {

// "[x] label (id)" per item, two spaces per level, "---" for separators.
void Describe(HMENU menu, int depth, std::string *out)
{
    std::vector<SimMenuItem> items;
    if (!SimGetMenuItems(menu, &items))
        return;
    for (const SimMenuItem &i : items) {
        *out += std::string((size_t)depth * 2, ' ');
        if (i.Flags & MF_SEPARATOR) {
            *out += "---\n";
            continue;
        }
        *out += std::string((i.Flags & MF_CHECKED) ? "[x] " : "") + i.Text;
        if (i.Flags & MF_POPUP) {
            *out += " >\n";
            Describe(i.SubMenu, depth + 1, out);
        } else {
            *out += " (" + std::to_string(i.Id) + ")\n";
        }
    }
}

std::string Tree(HMENU menu)
{
    std::string out;
    Describe(menu, 0, &out);
    return out;
}

std::vector<SimMenuItem> Items(HMENU menu)
{
    std::vector<SimMenuItem> items;
    SimGetMenuItems(menu, &items);
    return items;
}

struct ContextMenu : ::testing::Test {
    TestSkinDir Skins;
    void SetUp() override
    {
        SetUpLibrary();
        SetBaseDir(Skins.Path);
    }
    void TearDown() override
    {
        DestroyMenus();
        EXPECT_EQ(SimLiveMenus(), 0);
        EXPECT_TRUE(NothingLeftOpen());
    }
    void SetBaseDir(const std::string &dir)
    {
        snprintf(ClockState.SkinBaseDir, sizeof(ClockState.SkinBaseDir), "%s", dir.c_str());
    }
    void Folder(const std::string &name, mode_t mode = 0755)
    {
        mkdir((Skins.Path + "/" + name).c_str(), 0755);
        chmod((Skins.Path + "/" + name).c_str(), mode);
    }
};

TEST_F(ContextMenu, FreshAccountShowsTheEnglishFallbacks)
{
    Folder("Herb");
    Folder("Ember");
    strcpy(ClockState.CurrentSkinName, "Herb");
    ClockState.ShowSeconds = FlagTrue;
    ClockState.ShowDate = 1;  // any non-zero value checks
    ClockState.StartWithWindows = FlagTrue;
    BuildMainMenu();
    // clang-format off
    EXPECT_EQ(Tree(ClockState.MainMenu),
              "Adjust Date&&Time (103)\n"
              "---\n"
              "Options >\n"
              "  [x] Show Seconds (200)\n"
              "  Show Day of the Week (223)\n"
              "  [x] Show Date (201)\n"
              "  Show Date On Left (202)\n"
              "  Use 12-Hour Format (203)\n"
              "  Transparent Background (204)\n"
              "  ---\n"
              "  [x] Start Zantor Dialwick on StartUp (205)\n"
              "Languages >\n"
              "  Chinese(Traditional) (206)\n"
              "  Chinese (207)\n"
              "  German (208)\n"
              "  Spanish (209)\n"
              "  Finnish (210)\n"
              "  French (211)\n"
              "  Greek (212)\n"
              "  Italian (213)\n"
              "  Japanese (214)\n"
              "  [x] English (215)\n"
              "  Netherlands (216)\n"
              "  Norwegian (217)\n"
              "  Polish (218)\n"
              "  Portuguese (219)\n"
              "  Russian (220)\n"
              "  Swedish (221)\n"
              "Skins >\n"
              "  Ember (1000)\n"
              "  [x] Herb (1001)\n"
              "---\n"
              "Official web site (222)\n"
              "---\n"
              "Exit (101)\n");
    // clang-format on
    std::vector<SimMenuItem> main = Items(ClockState.MainMenu);
    EXPECT_EQ(main[2].SubMenu, ClockState.OptionsMenu);
    EXPECT_EQ(main[3].SubMenu, ClockState.LanguageMenu);
    EXPECT_EQ(main[4].SubMenu, ClockState.SkinsMenu);
}

// Ids run on past the hundredth folder (1100) and through thousands.
TEST_F(ContextMenu, ThousandsOfEntriesStillBuild)
{
    for (int i = 0; i < 3000; i++) {
        char name[16];
        snprintf(name, sizeof(name), "S%04d", i);
        Folder(name);
        if (i % 3 == 0)
            Skins.WriteFile(std::string(name) + ".bmp", "x");
    }
    BuildMainMenu();
    std::vector<SimMenuItem> skins = Items(ClockState.SkinsMenu);
    ASSERT_EQ(skins.size(), 3000u);
    for (size_t i = 0; i < skins.size(); i++)
        EXPECT_EQ(skins[i].Id, 1000 + i);
    EXPECT_EQ(skins[100].Text, "S0100");
}

}  // namespace
