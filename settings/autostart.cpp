#include "settings/autostart.h"

#include "settings/registry_key.h"

#include <stdio.h>
#include <string.h>

static const char AutostartValueName[] = "ZantorDialwick";
static const char ControllerFile[] = "\\dialwick.exe";

// The directory of the library's own file (found from the address of its
// state record, not the host process's executable) followed by the
// controller's file name, unquoted. False when the path cannot be had whole:
// a cut path would start some other program.
static bool AutostartCommandLine(char *line, size_t lineSize)
{
    HMODULE library = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            (LPCSTR)&ClockState, &library))
        return false;
    char path[PathSize];
    DWORD n = GetModuleFileNameA(library, path, sizeof(path));
    // Windows XP leaves a path that fills the buffer without a terminator.
    if (n == 0 || n >= sizeof(path))
        return false;
    path[n] = 0;
    char *slash = strrchr(path, '\\');
    if (!slash)
        return false;
    *slash = 0;
    int written = snprintf(line, lineSize, "%s%s", path, ControllerFile);
    return written > 0 && (size_t)written < lineSize;
}

Flag AutostartEntryExists()
{
    RegistryKeyGuard run;
    if (!OpenOrCreateUserKey(RunKeyPath, &run))
        return 0;
    return RegQueryValueExA(run.Key, AutostartValueName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS ? FlagTrue
                                                                                                              : 0;
}

void UpdateAutostartEntry(Flag wanted)
{
    char line[PathSize + sizeof(ControllerFile)];
    if (wanted && !AutostartCommandLine(line, sizeof(line)))
        return;
    RegistryKeyGuard run;
    if (!OpenOrCreateUserKey(RunKeyPath, &run))
        return;
    if (wanted)
        RegSetValueExA(run.Key, AutostartValueName, 0, REG_EXPAND_SZ, (const BYTE *)line, (DWORD)strlen(line) + 1);
    else
        RegDeleteValueA(run.Key, AutostartValueName);
}
