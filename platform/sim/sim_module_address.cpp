// GetModuleHandleExA: which module holds an address. The simulation knows a
// module's memory only by the regions of globals it was defined with, so an
// address is found when it lies in one of them.
#include "platform/sim/sim_internal.h"

#include <strings.h>

static bool InRegion(const SimModuleRegion &r, const void *address)
{
    const char *a = (const char *)address, *start = (const char *)r.Data;
    return a >= start && a < start + r.Size;
}

BOOL GetModuleHandleExA(DWORD flags, LPCSTR moduleName, HMODULE *module)
{
    if (SimShouldFail("GetModuleHandleExA")) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    if (!module) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *module = nullptr;
    for (const SimModuleDef &def : Sim().Modules) {
        if (!SimModuleMapped(Sim().CurrentProcess, def.Handle))
            continue;
        bool found = false;
        if (flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) {
            for (const SimModuleRegion &r : def.Regions)
                found = found || InRegion(r, moduleName);
        } else {
            found = moduleName && strcasecmp(moduleName, def.Name.c_str()) == 0;
        }
        if (found) {
            *module = def.Handle;
            return TRUE;
        }
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return FALSE;
}
