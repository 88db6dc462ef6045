// Registered messages, WH_CALLWNDPROC hooks, and the few kernel and USER
// calls of the shell integration that need no other home.
#include "platform/sim/sim_internal.h"

#include <algorithm>
#include <string.h>
#include <strings.h>

UINT RegisterWindowMessageA(LPCSTR name)
{
    if (SimShouldFail("RegisterWindowMessageA") || !name || !*name)
        return 0;
    std::vector<std::string> &names = Sim().RegisteredMessages;
    for (size_t i = 0; i < names.size(); i++)
        if (strcasecmp(names[i].c_str(), name) == 0)
            return (UINT)(0xC000 + i);
    names.push_back(name);
    return (UINT)(0xC000 + names.size() - 1);
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId)
{
    SimWindowData *w = SimFindWindow(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (processId)
        *processId = w->Process;
    return SimThreadOfProcess(w->Process);
}

HHOOK SetWindowsHookExA(int type, HOOKPROC proc, HINSTANCE module, DWORD threadId)
{
    if (SimShouldFail("SetWindowsHookExA"))
        return nullptr;
    // Only thread hooks of a live thread; a hook into another process needs the module
    // that Windows maps there.
    DWORD process = SimProcessOfThread(threadId);
    if (type != WH_CALLWNDPROC || !proc || threadId == 0 || !Sim().Processes.count(process)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (process != Sim().CurrentProcess && !module) {
        SetLastError(ERROR_HOOK_NEEDS_HMOD);
        return nullptr;
    }
    HHOOK handle = (HHOOK)SimNewHandle();
    Sim().Hooks.push_back(SimHook{handle, type, proc, (HMODULE)module, threadId, Sim().CurrentProcess});
    return handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook)
{
    auto &hooks = Sim().Hooks;
    auto it = std::find_if(hooks.begin(), hooks.end(), [&](const SimHook &h) { return h.Handle == hook; });
    if (it == hooks.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    hooks.erase(it);
    return TRUE;
}

int SimLiveHooks() { return (int)Sim().Hooks.size(); }

// Calls the newest hook of the thread older than `after` (or the newest of all).
static LRESULT CallHookAfter(HHOOK after, DWORD thread, int code, WPARAM wParam, LPARAM lParam)
{
    auto &hooks = Sim().Hooks;
    int start = (int)hooks.size() - 1;
    if (after) {
        auto it = std::find_if(hooks.begin(), hooks.end(), [&](const SimHook &h) { return h.Handle == after; });
        if (it == hooks.end())
            return 0;
        start = (int)(it - hooks.begin()) - 1;
    }
    for (int i = start; i >= 0; i--) {
        if (hooks[i].Thread != thread)
            continue;
        SimHook hook = hooks[i];
        // Windows maps the hook's module into the hooked process on its first call there.
        if (hook.Module && !SimModuleMapped(Sim().CurrentProcess, hook.Module) &&
            SimProcessOfThread(thread) != hook.Owner) {
            HMODULE mapped = nullptr;
            for (auto &entry : Sim().Modules)
                if (entry.Handle == hook.Module)
                    mapped = LoadLibraryA(entry.Name.c_str());
            if (!mapped)
                continue;
        }
        Sim().HookCalls.push_back(hook.Handle);
        LRESULT result = hook.Proc(code, wParam, lParam);
        Sim().HookCalls.pop_back();
        return result;
    }
    return 0;
}

LRESULT CallNextHookEx(HHOOK, int code, WPARAM wParam, LPARAM lParam)
{
    // As on Windows NT, the handle argument is ignored: the chain position is
    // the hook being called on this thread.
    if (Sim().HookCalls.empty())
        return 0;
    return CallHookAfter(Sim().HookCalls.back(), GetCurrentThreadId(), code, wParam, lParam);
}

void SimRunCallWndProcHooks(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DWORD thread = GetCurrentThreadId();
    bool any = false;
    for (const SimHook &h : Sim().Hooks)
        any = any || h.Thread == thread;
    if (!any)
        return;
    CWPSTRUCT cwp{lParam, wParam, msg, hwnd};
    CallHookAfter(nullptr, thread, HC_ACTION, 0, (LPARAM)&cwp);
}

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size)
{
    if (SimShouldFail("GetWindowsDirectoryA"))
        return 0;
    const std::string &dir = Sim().WindowsDirectory;
    // Too small a buffer: nothing is copied and the size needed is returned.
    if (!buffer || size <= dir.size())
        return (UINT)dir.size() + 1;
    memcpy(buffer, dir.c_str(), dir.size() + 1);
    return (UINT)dir.size();
}

UINT WinExec(LPCSTR commandLine, UINT show)
{
    if (SimShouldFail("WinExec"))
        return ERROR_FILE_NOT_FOUND;
    Sim().WinExecs.push_back(SimWinExecCall{commandLine ? commandLine : "", show});
    return 33;
}

std::vector<SimWinExecCall> SimWinExecCalls() { return Sim().WinExecs; }

void SimSetLayeredApiAvailable(bool available) { Sim().LayeredApiAvailable = available; }

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags)
{
    if (SimShouldFail("SetLayeredWindowAttributes"))
        return FALSE;
    SimWindowData *w = SimFindWindow(hwnd);
    if (!w || !(w->ExStyle & WS_EX_LAYERED) || (flags & ~(LWA_ALPHA | LWA_COLORKEY))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    w->LayeredKey = key;
    w->LayeredAlpha = alpha;
    w->LayeredFlags = flags;
    return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF *key, BYTE *alpha, DWORD *flags)
{
    SimWindowData *w = SimFindWindow(hwnd);
    if (!w || !(w->ExStyle & WS_EX_LAYERED) || !w->LayeredFlags)
        return FALSE;
    if (key)
        *key = w->LayeredKey;
    if (alpha)
        *alpha = w->LayeredAlpha;
    if (flags)
        *flags = w->LayeredFlags;
    return TRUE;
}
