// Any bytes as a .reg export for the preview's importer, then the import
// into a fresh simulated registry.
#include "fuzz/fuzz_desktop.h"

#include "tools/preview/reg_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    RegImport import;
    std::string error;
    if (!ParseRegFile(data, size, 0, &import, &error)) {
        FuzzRequire(!error.empty(), "a refused file says why");
        return 0;
    }
    SimReset();
    ApplyRegImport(import);
    FuzzRequire(SimOpenRegistryKeys() == 0, "no registry key is left open");
    return 0;
}
