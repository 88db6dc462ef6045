// dialwick-e2e.exe: acts as the controller of the real dialwick.dll against a
// stand-in taskbar running in another process and inspects the result from
// outside. Prints "FAIL ..." lines and "compare ..." requests for the runner.
// usage: dialwick-e2e.exe SCENARIO --dll P --skins DIR --out DIR [--skin S]
//        [--options LIST] [--height N] [--helper EXE] [--command ID]
//        [--mode classic|windows10]
#include "tests/e2e/e2e_scenarios.h"
#include "tools/standin/standin_windows.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const struct {
    const char *Name;
    void (*Run)(const ScenarioArgs &);
} Scenarios[] = {
    {"attach", ScenarioAttach},     {"ticking", ScenarioTicking},       {"options", ScenarioOptions},
    {"copydata", ScenarioCopyData}, {"language", ScenarioLanguage},     {"menu", ScenarioMenu},
    {"layered", ScenarioLayered},   {"exit", ScenarioExit},             {"detach", ScenarioDetach},
    {"wait-skinned", ScenarioWaitSkinned}, {"close-controller", ScenarioCloseController},
    {"wait-stock", ScenarioWaitStock},     {"hold-instance", ScenarioHoldInstance},
    {"command", ScenarioCommand},          {"rivals", ScenarioRivals},
    {"intruders", ScenarioIntruders},      {"killed", ScenarioKilled},
    {"flat", ScenarioFlatColons},          {"skin-away", ScenarioSkinAway},
    {"windows11", ScenarioWindows11},
};

int main(int argc, char **argv)
{
    ScenarioArgs args;
    if (argc < 2) {
        fprintf(stderr, "usage: dialwick-e2e.exe SCENARIO --dll P --skins DIR --out DIR [...]\n");
        return 2;
    }
    for (int i = 2; i + 1 < argc; i += 2) {
        const char *flag = argv[i], *value = argv[i + 1];
        if (strcmp(flag, "--dll") == 0)
            args.Dll = value;
        else if (strcmp(flag, "--skins") == 0)
            args.SkinsDir = value;
        else if (strcmp(flag, "--out") == 0)
            args.OutDir = value;
        else if (strcmp(flag, "--skin") == 0)
            args.Skin = value;
        else if (strcmp(flag, "--height") == 0)
            args.TaskbarHeight = atoi(value);
        else if (strcmp(flag, "--helper") == 0)
            args.Helper = value;
        else if (strcmp(flag, "--command") == 0)
            args.Command = (UINT)atoi(value);
        else if (strcmp(flag, "--mode") == 0 && (strcmp(value, "classic") == 0 || strcmp(value, "windows10") == 0))
            args.Windows10 = strcmp(value, "windows10") == 0;
        else if (strcmp(flag, "--options") == 0) {
            if (!ParseFaceOptions(value, &args.Options)) {
                fprintf(stderr, "dialwick-e2e: bad --options %s\n", value);
                return 2;
            }
        } else {
            fprintf(stderr, "dialwick-e2e: unknown flag %s\n", flag);
            return 2;
        }
    }
    // The height asked of the stand-in; the Windows 10 one may make itself thicker.
    StandinLayout layout;
    layout.TaskbarHeight = args.TaskbarHeight;
    layout.Mode = args.Windows10 ? StandinWindows10 : StandinClassic;
    args.TaskbarHeight = StandinThickness(layout);
    for (const auto &s : Scenarios)
        if (strcmp(argv[1], s.Name) == 0) {
            s.Run(args);
            printf("%s: %d failure(s)\n", s.Name, Failures());
            return Failures() ? 1 : 0;
        }
    fprintf(stderr, "dialwick-e2e: unknown scenario %s\n", argv[1]);
    return 2;
}
