// Simulated processes and the libraries they map. One address space holds
// every process, so a module's globals are swapped for the running process's
// copy whenever execution crosses into another process.
#include "platform/sim/sim_internal.h"

#include <algorithm>
#include <string.h>
#include <strings.h>

static SimModuleDef *FindModule(HMODULE handle)
{
    for (SimModuleDef &m : Sim().Modules)
        if (m.Handle == handle)
            return &m;
    return nullptr;
}

static void SaveGlobals(SimProcessData &p)
{
    for (auto &entry : p.Mapped) {
        SimModuleDef *def = FindModule(entry.first);
        for (size_t i = 0; def && i < def->Regions.size(); i++)
            memcpy(entry.second.Saved[i].data(), def->Regions[i].Data, def->Regions[i].Size);
    }
}

static void LoadGlobals(SimProcessData &p)
{
    for (SimModuleDef &def : Sim().Modules) {
        auto it = p.Mapped.find(def.Handle);
        for (size_t i = 0; i < def.Regions.size(); i++)
            if (it != p.Mapped.end())
                memcpy(def.Regions[i].Data, it->second.Saved[i].data(), def.Regions[i].Size);
            else
                memset(def.Regions[i].Data, 0, def.Regions[i].Size);
    }
}

void SimSwitchTo(DWORD process)
{
    SimWorld &w = Sim();
    if (process == w.CurrentProcess || !w.Processes.count(process))
        return;
    auto current = w.Processes.find(w.CurrentProcess);
    if (current != w.Processes.end())
        SaveGlobals(current->second);
    w.CurrentProcess = process;
    LoadGlobals(w.Processes[process]);
}

SimProcessScope::SimProcessScope(DWORD process) : Previous(Sim().CurrentProcess) { SimSwitchTo(process); }
SimProcessScope::~SimProcessScope() { SimSwitchTo(Previous); }

DWORD SimThreadOfProcess(DWORD process) { return process + 0x100; }
DWORD SimProcessOfThread(DWORD thread) { return thread - 0x100; }

DWORD SimCreateProcess(const char *exeName)
{
    DWORD id = Sim().NextProcess++;
    Sim().Processes[id] = SimProcessData{exeName ? exeName : "", {}};
    return id;
}

DWORD SimSwitchProcess(DWORD process)
{
    DWORD previous = Sim().CurrentProcess;
    SimSwitchTo(process);
    return previous;
}

DWORD GetCurrentThreadId(void) { return SimThreadOfProcess(Sim().CurrentProcess); }

HMODULE SimDefineModule(const char *name, const char *path, SimModuleEntry entry,
                        std::initializer_list<SimModuleRegion> regions)
{
    SimModuleDef def;
    def.Name = name;
    def.Path = path;
    def.Entry = entry;
    def.Regions = regions;
    def.Handle = (HMODULE)SimNewHandle();
    // A fresh mapping starts with zeroed globals.
    for (const SimModuleRegion &r : def.Regions)
        memset(r.Data, 0, r.Size);
    Sim().Modules.push_back(def);
    return def.Handle;
}

bool SimModuleMapped(DWORD process, HMODULE module)
{
    auto it = Sim().Processes.find(process);
    return it != Sim().Processes.end() && it->second.Mapped.count(module) != 0;
}

// Maps a module into the current process and runs its entry point on first map.
static bool MapModule(SimModuleDef &def)
{
    SimProcessData &p = Sim().Processes[Sim().CurrentProcess];
    auto it = p.Mapped.find(def.Handle);
    if (it != p.Mapped.end()) {
        it->second.RefCount++;
        return true;
    }
    SimMapping m;
    m.RefCount = 1;
    for (const SimModuleRegion &r : def.Regions) {
        m.Saved.emplace_back(r.Size, 0);
        memset(r.Data, 0, r.Size);
    }
    p.Mapped[def.Handle] = m;
    if (def.Entry && !def.Entry((HINSTANCE)def.Handle, DLL_PROCESS_ATTACH, nullptr)) {
        Sim().Processes[Sim().CurrentProcess].Mapped.erase(def.Handle);
        for (const SimModuleRegion &r : def.Regions)
            memset(r.Data, 0, r.Size);
        return false;
    }
    return true;
}

static void UnmapModule(DWORD process, HMODULE module, LPVOID reserved)
{
    SimProcessScope scope(process);
    SimModuleDef *def = FindModule(module);
    if (def && def->Entry)
        def->Entry((HINSTANCE)module, DLL_PROCESS_DETACH, reserved);
    Sim().Processes[process].Mapped.erase(module);
    for (size_t i = 0; def && i < def->Regions.size(); i++)
        memset(def->Regions[i].Data, 0, def->Regions[i].Size);
}

// The system library that exports the layered-window call.
static const uintptr_t User32Handle = 0x7700;

static const char *BaseName(const char *path)
{
    const char *base = path;
    for (const char *c = path; *c; c++)
        if (*c == '\\' || *c == '/' || *c == ':')
            base = c + 1;
    return base;
}

HMODULE LoadLibraryA(LPCSTR name)
{
    if (SimShouldFail("LoadLibraryA") || !name)
        return nullptr;
    if (strcasecmp(BaseName(name), "user32.dll") == 0 || strcasecmp(BaseName(name), "user32") == 0)
        return (HMODULE)User32Handle;
    for (SimModuleDef &def : Sim().Modules)
        if (strcasecmp(BaseName(name), def.Name.c_str()) == 0 || def.Path == name)
            return MapModule(def) ? def.Handle : nullptr;
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

BOOL FreeLibrary(HMODULE module)
{
    if ((uintptr_t)module == User32Handle)
        return TRUE;
    SimProcessData &p = Sim().Processes[Sim().CurrentProcess];
    auto it = p.Mapped.find(module);
    if (it == p.Mapped.end())
        return FALSE;
    if (--it->second.RefCount == 0)
        UnmapModule(Sim().CurrentProcess, module, nullptr);
    return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name)
{
    if (SimShouldFail("GetProcAddress") || !name)
        return nullptr;
    if ((uintptr_t)module == User32Handle && Sim().LayeredApiAvailable &&
        strcmp(name, "SetLayeredWindowAttributes") == 0)
        return (FARPROC)(void *)SetLayeredWindowAttributes;
    if ((uintptr_t)module == User32Handle && Sim().DpiApiAvailable && strcmp(name, "GetDpiForWindow") == 0)
        return (FARPROC)(void *)SimGetDpiForWindow;
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size)
{
    if (!buffer || size == 0)
        return 0;
    std::string path;
    if (!module) {
        path = "C:\\Program Files\\" + Sim().Processes[Sim().CurrentProcess].ExeName;
    } else {
        SimModuleDef *def = FindModule(module);
        if (!def || !SimModuleMapped(Sim().CurrentProcess, module)) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return 0;
        }
        path = def->Path;
    }
    // Like Windows, a path that does not fit is cut and the buffer size returned.
    DWORD n = (DWORD)std::min<size_t>(path.size(), size - 1);
    memcpy(buffer, path.data(), n);
    buffer[n] = 0;
    return path.size() < size ? n : size;
}

// A process that ends normally detaches its modules and destroys its windows;
// a terminated one runs no more code, so they simply go.
static void EndProcess(DWORD process, bool normally)
{
    SimWorld &w = Sim();
    if (!w.Processes.count(process))
        return;
    std::vector<HMODULE> modules;
    for (auto &entry : w.Processes[process].Mapped)
        modules.push_back(entry.first);
    for (HMODULE m : modules)
        if (normally)
            UnmapModule(process, m, (LPVOID)1);
    std::vector<HWND> windows;
    for (auto &entry : w.Windows)
        if (entry.second.Process == process && !entry.second.Parent)
            windows.push_back((HWND)entry.first);
    {
        SimProcessScope scope(process);
        for (HWND hwnd : windows)
            if (normally)
                DestroyWindow(hwnd);
            else
                SimRemoveWindowTree(hwnd);
        std::vector<std::string> classes;
        for (const SimWindowClass &c : w.Classes)
            if (c.Process == process)
                classes.push_back(c.Name);
        for (const std::string &name : classes)
            UnregisterClassA(name.c_str(), nullptr);
    }
    DWORD thread = SimThreadOfProcess(process);
    w.Hooks.erase(std::remove_if(w.Hooks.begin(), w.Hooks.end(),
                                 [&](const SimHook &h) { return h.Thread == thread || h.Owner == process; }),
                  w.Hooks.end());
    if (w.CurrentProcess == process)
        SimSwitchTo(1);
    if (process != 1)
        w.Processes.erase(process);
}

void SimEndProcess(DWORD process) { EndProcess(process, true); }

void SimTerminateProcess(DWORD process) { EndProcess(process, false); }

void SimResetProcesses()
{
    SimWorld &w = Sim();
    SimSwitchTo(1);
    for (SimModuleDef &def : w.Modules)
        for (const SimModuleRegion &r : def.Regions)
            memset(r.Data, 0, r.Size);
    w.Modules.clear();
    w.Processes.clear();
    w.Processes[1] = SimProcessData{"test.exe", {}};
    w.CurrentProcess = 1;
    w.NextProcess = 2;
    w.Hooks.clear();
    w.HookCalls.clear();
    w.RegisteredMessages.clear();
    w.WindowsDirectory = "C:\\windows";
    w.WinExecs.clear();
    w.LayeredApiAvailable = true;
    w.DpiApiAvailable = true;
    w.SystemDpi = 96;
}
