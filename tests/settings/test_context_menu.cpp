// The popup menu tree: its structure and labels, the Languages check mark
// and Lang, the rules of the Skins submenu, and that no menu, key or listing
// outlives a tree, also when calls fail.
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

std::vector<std::string> Labels(HMENU menu)
{
    std::vector<std::string> labels;
    for (const SimMenuItem &i : Items(menu))
        labels.push_back(i.Text);
    return labels;
}

std::vector<UINT> CheckedIds(HMENU menu)
{
    std::vector<UINT> ids;
    for (const SimMenuItem &i : Items(menu))
        if (i.Flags & MF_CHECKED)
            ids.push_back((UINT)i.Id);
    return ids;
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
    std::vector<SimMenuItem> main = Items(ClockState.MainMenu);
    EXPECT_EQ(main[2].SubMenu, ClockState.OptionsMenu);
    EXPECT_EQ(main[3].SubMenu, ClockState.LanguageMenu);
    EXPECT_EQ(main[4].SubMenu, ClockState.SkinsMenu);
}

TEST_F(ContextMenu, FirstBuildStoresLangNine)
{
    BuildMainMenu();
    StoredValue lang = Stored("Lang");
    EXPECT_EQ(lang.Type, (DWORD)REG_DWORD);
    EXPECT_EQ(lang.Data, Dword(EnglishLanguage));
    EXPECT_EQ(CheckedIds(ClockState.LanguageMenu), std::vector<UINT>{215});

    ApplyMenuLanguage(12);
    BuildMainMenu();
    EXPECT_EQ(CheckedIds(ClockState.LanguageMenu), std::vector<UINT>{218});
}

TEST_F(ContextMenu, LangThatIsNoLanguageChecksNothingAndStays)
{
    const struct {
        DWORD Type;
        std::vector<uint8_t> Data;
    } cases[] = {
        {REG_DWORD, Dword(16)},
        {REG_DWORD, Dword(0xFFFFFFFF)},
        {REG_SZ, Bytes(std::string("9\0", 2))},
        {REG_BINARY, {9}},
    };
    for (const auto &c : cases) {
        Seed("Lang", c.Type, c.Data);
        BuildMainMenu();
        EXPECT_EQ(Items(ClockState.LanguageMenu).size(), 16u);
        EXPECT_TRUE(CheckedIds(ClockState.LanguageMenu).empty()) << c.Type;
        StoredValue lang = Stored("Lang");
        EXPECT_EQ(lang.Type, c.Type);
        EXPECT_EQ(lang.Data, c.Data);
    }
    SetUpLibrary();
    SimFailCall("RegCreateKeyExA", 0);  // no settings key at all
    BuildMainMenu();
    EXPECT_EQ(Items(ClockState.LanguageMenu).size(), 16u);
    EXPECT_TRUE(CheckedIds(ClockState.LanguageMenu).empty());
    SimClearFailures();
    EXPECT_FALSE(Stored("Lang").Exists);
}

TEST_F(ContextMenu, LabelsComeFromTheRegistryEvenWhenEmpty)
{
    Seed("AdjustDateSTR", REG_SZ, {0});
    Seed("ExitSTR", REG_SZ, Bytes(std::string("Sortir\0", 7)));
    Seed("OptionsSTR", REG_EXPAND_SZ, Bytes(std::string("Expand\0", 7)));
    Seed("ShowSecondsSTR", REG_SZ, Bytes(std::string("Sek\0unden\0", 10)));
    BuildMainMenu();
    std::vector<std::string> main = Labels(ClockState.MainMenu);
    EXPECT_EQ(main[0], "");
    EXPECT_EQ(main[2], "Options") << "a value not of type REG_SZ is no label";
    EXPECT_EQ(main[8], "Sortir");
    EXPECT_EQ(Labels(ClockState.OptionsMenu)[0], "Sek") << "a label ends at its first zero byte";

    ApplyMenuLanguage(0);
    BuildMainMenu();
    EXPECT_EQ(Labels(ClockState.MainMenu)[6], "Official web site");
}

TEST_F(ContextMenu, SkinsListOnlyPlainFoldersWithoutGaps)
{
    Folder("Ash");
    Folder(".Dotted");
    Folder("Hidden");
    Folder("Locked", 0555);
    Folder("Sys");
    Folder("Arch");
    Folder("Zed");
    Skins.WriteFile("Notes.txt", "not a skin");
    SimAddFileAttributes((Skins.Path + "/Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SimAddFileAttributes((Skins.Path + "\\Sys").c_str(), FILE_ATTRIBUTE_SYSTEM);
    SimAddFileAttributes((Skins.Path + "/Arch/").c_str(), FILE_ATTRIBUTE_ARCHIVE);
    BuildMainMenu();
    EXPECT_EQ(Tree(ClockState.SkinsMenu), "Ash (1000)\nZed (1001)\n");
}

TEST_F(ContextMenu, SkinCheckMarkComparesCase)
{
    Folder("Herb");
    for (const char *current : {"herb", "", "Her", "Herb"}) {
        strcpy(ClockState.CurrentSkinName, current);
        BuildMainMenu();
        EXPECT_EQ(CheckedIds(ClockState.SkinsMenu).size(), strcmp(current, "Herb") == 0 ? 1u : 0u) << current;
    }
}

TEST_F(ContextMenu, SkinLabelReadsBackByCommand)
{
    Folder("Ember");
    Folder("Herb");
    BuildMainMenu();
    char name[200];
    EXPECT_EQ(GetMenuStringA(ClockState.SkinsMenu, 1001, name, 199, MF_BYCOMMAND), 4);
    EXPECT_STREQ(name, "Herb");
    EXPECT_EQ(GetMenuStringA(ClockState.MainMenu, 1000, name, 199, MF_BYCOMMAND), 5) << "found in the submenu";
    EXPECT_EQ(GetMenuStringA(ClockState.SkinsMenu, 1002, name, 199, MF_BYCOMMAND), 0);
}

TEST_F(ContextMenu, MissingOrOverlongBaseFolderGivesAnEmptySkinsSubmenu)
{
    SetBaseDir(Skins.Path + "/missing");
    BuildMainMenu();
    EXPECT_TRUE(Items(ClockState.SkinsMenu).empty());
    EXPECT_EQ(Items(ClockState.MainMenu)[4].SubMenu, ClockState.SkinsMenu);

    SetBaseDir("/" + std::string(257, 'x'));  // 258 + "\*" does not fit
    int before = SimCallCount("FindFirstFileA");
    BuildMainMenu();
    EXPECT_TRUE(Items(ClockState.SkinsMenu).empty());
    EXPECT_EQ(SimCallCount("FindFirstFileA"), before);
}

TEST_F(ContextMenu, TwoRightClicksLeaveOneTree)
{
    BuildMainMenu();
    HMENU first = ClockState.MainMenu, firstSkins = ClockState.SkinsMenu;
    BuildMainMenu();
    EXPECT_EQ(SimLiveMenus(), 4);
    std::vector<SimMenuItem> items;
    EXPECT_FALSE(SimGetMenuItems(first, &items));
    EXPECT_FALSE(SimGetMenuItems(firstSkins, &items));

    DestroyMenus();
    EXPECT_EQ(SimLiveMenus(), 0);
    EXPECT_EQ(ClockState.MainMenu, nullptr);
    EXPECT_EQ(ClockState.OptionsMenu, nullptr);
    EXPECT_EQ(ClockState.LanguageMenu, nullptr);
    EXPECT_EQ(ClockState.SkinsMenu, nullptr);
    DestroyMenus();  // without a tree
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

// Every call of a build failing in turn: the tree is whatever could be built,
// every submenu left in ClockState hangs in the main menu, and destroying the
// tree leaves no menu, key or listing behind.
TEST_F(ContextMenu, FailedCallsLeaveNothingBehind)
{
    Folder("Ember");
    Folder("Herb");
    const struct {
        const char *Call;
        int Calls;
    } calls[] = {
        {"CreatePopupMenu", 4}, {"AppendMenuA", 36},     {"FindFirstFileA", 1},  {"FindNextFileA", 4},
        {"RegCreateKeyExA", 1}, {"RegOpenKeyExA", 12},   {"RegQueryValueExA", 40}, {"RegSetValueExA", 1},
    };
    for (const auto &c : calls)
        for (int n = 1; n <= c.Calls; n++) {
            SimClearFailures();
            SimFailCall(c.Call, n);
            BuildMainMenu();
            std::vector<SimMenuItem> main;
            if (ClockState.MainMenu) {
                ASSERT_TRUE(SimGetMenuItems(ClockState.MainMenu, &main));
                for (HMENU sub : {ClockState.OptionsMenu, ClockState.LanguageMenu, ClockState.SkinsMenu}) {
                    bool attached = false;
                    for (const SimMenuItem &i : main)
                        attached = attached || (sub && i.SubMenu == sub);
                    EXPECT_TRUE(!sub || attached) << c.Call << " " << n;
                }
            } else {
                EXPECT_EQ(SimLiveMenus(), 0) << c.Call << " " << n;
            }
            EXPECT_TRUE(NothingLeftOpen()) << c.Call << " " << n;
            DestroyMenus();
            EXPECT_EQ(SimLiveMenus(), 0) << c.Call << " " << n;
        }
}

}  // namespace
