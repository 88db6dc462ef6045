// The handle tables of the simulated Windows. Handles are never reused, so a
// stale handle is reported as invalid instead of reaching a newer object.
#include "platform/sim/sim_internal.h"

SimWorld &Sim()
{
    static SimWorld world;
    return world;
}

uintptr_t SimNewHandle()
{
    uintptr_t h = Sim().NextHandle;
    Sim().NextHandle += 4;
    return h;
}

SimGdiObject *SimFindGdi(HGDIOBJ handle, SimObjectKind kind)
{
    auto it = Sim().Gdi.find((uintptr_t)handle);
    if (it == Sim().Gdi.end() || it->second.Kind != kind || it->second.PendingDelete)
        return nullptr;
    return &it->second;
}

HGDIOBJ SimAddGdi(SimGdiObject &&object)
{
    uintptr_t h = SimNewHandle();
    Sim().Gdi.emplace(h, std::move(object));
    return (HGDIOBJ)h;
}

void SimFreeGdi(HGDIOBJ handle) { Sim().Gdi.erase((uintptr_t)handle); }

void SimReset()
{
    SimSwitchTo(1);
    SimDestroyAllWindows();
    SimResetProcesses();
    SimWorld &w = Sim();
    w.Gdi.clear();
    w.Classes.clear();
    w.Posted.clear();
    w.Timers.clear();
    w.ShortPaths.clear();
    w.TopLevel.clear();
    w.VersionMajor = 6;
    w.VersionMinor = 1;
    w.LastError = 0;
    w.WindowPixelsWritten = 0;
    w.StockBitmap = nullptr;
    SimClearFailures();
    SimResetCallCounts();
    SimResetRegistry();
    SimResetMenus();
    SimResetFind();
    SimSetLocalTime(2026, 1, 1, 12, 0, 0);
    SimSetCodePage(1252);
}

int SimLiveObjects(SimObjectKind kind)
{
    int n = 0;
    for (auto &entry : Sim().Gdi)
        if (entry.second.Kind == kind && !(kind == SimBitmaps && entry.second.Bitmap.Stock))
            n++;
    return n;
}

int SimLiveGdiObjects()
{
    int n = 0;
    for (int k = 0; k < SimObjectKindCount; k++)
        n += SimLiveObjects((SimObjectKind)k);
    return n;
}

int64_t SimWindowPixelsWritten() { return Sim().WindowPixelsWritten; }
void SimResetWindowPixelsWritten() { Sim().WindowPixelsWritten = 0; }

DWORD GetLastError(void) { return Sim().LastError; }
void SetLastError(DWORD error) { Sim().LastError = error; }
