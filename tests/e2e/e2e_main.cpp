// dialwick-e2e.exe: acts as the controller of the real dialwick.dll against a
// stand-in taskbar running in another process and inspects the result from
// outside. Prints "FAIL ..." lines and "compare ..." requests for the runner.
// usage: dialwick-e2e.exe SCENARIO --dll P --skins DIR --out DIR [--skin S]
//        [--options LIST] [--height N] [--helper EXE] [--command ID]
//        [--mode classic|windows10]
#include "tests/e2e/e2e_scenarios.h"
#include "tests/scenarios/flows.h"
#include "tools/standin/standin_windows.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// clang-format off
static const struct {
    const char *Name;
    void (*Run)(const ScenarioArgs &);
} Scenarios[] = {
    {"wait-skinned", ScenarioWaitSkinned}, {"close-controller", ScenarioCloseController},
    {"wait-stock", ScenarioWaitStock},     {"hold-instance", ScenarioHoldInstance},
    {"command", ScenarioCommand},          {"rivals", ScenarioRivals},
    {"intruders", ScenarioIntruders},      {"killed", ScenarioKilled},
    {"windows11", ScenarioWindows11},
};
// clang-format on

int main(int argc, char **argv)
{
    ScenarioArgs args;
    if (argc < 2) {
        fprintf(stderr, "usage: dialwick-e2e.exe SCENARIO --dll P --skins DIR --out DIR [...]\n");
        return 2;
    }
    std::string height = "30", command = "0", mode = "classic", options = "none";
    const struct {
        const char *Flag;
        std::string *Value;
    } flags[] = {{"--dll", &args.Dll},    {"--skins", &args.SkinsDir}, {"--out", &args.OutDir},
                 {"--skin", &args.Skin},  {"--height", &height},       {"--helper", &args.Helper},
                 {"--command", &command}, {"--mode", &mode},           {"--options", &options}};
    for (int i = 2; i + 1 < argc; i += 2) {
        bool known = false;
        for (const auto &f : flags)
            if (strcmp(argv[i], f.Flag) == 0)
                *f.Value = argv[i + 1], known = true;
        if (!known) {
            fprintf(stderr, "dialwick-e2e: unknown flag %s\n", argv[i]);
            return 2;
        }
    }
    args.TaskbarHeight = atoi(height.c_str());
    args.Command = (UINT)atoi(command.c_str());
    args.Windows10 = mode == "windows10";
    if ((mode != "classic" && !args.Windows10) || !ParseFaceOptions(options.c_str(), &args.Options)) {
        fprintf(stderr, "dialwick-e2e: bad --mode %s or --options %s\n", mode.c_str(), options.c_str());
        return 2;
    }
    // The height asked of the stand-in; the Windows 10 one may make itself thicker.
    StandinLayout layout;
    layout.TaskbarHeight = args.TaskbarHeight;
    layout.Mode = args.Windows10 ? StandinWindows10 : StandinClassic;
    args.TaskbarHeight = StandinThickness(layout);
    bool known = false;
    for (size_t i = 0; i < FlowCount; i++)
        if (strcmp(argv[1], Flows[i].Name) == 0)
            RunFlow(Flows[i], args), known = true;
    for (const auto &s : Scenarios)
        if (strcmp(argv[1], s.Name) == 0)
            s.Run(args), known = true;
    if (!known) {
        fprintf(stderr, "dialwick-e2e: unknown scenario %s\n", argv[1]);
        return 2;
    }
    printf("%s: %d failure(s)\n", argv[1], Failures());
    return Failures() ? 1 : 0;
}
