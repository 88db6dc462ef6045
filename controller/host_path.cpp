#include "controller/host_path.h"

#include <string>

// The folder's skins path converted exactly: a character the code page lacks
// must not become a look-alike, which would name another folder.
static bool AnsiSkinsPath(const std::wstring &folder, char *out, int size)
{
    std::wstring path = folder + L"\\skins\\README.md";
    // UTF-8 holds every character, and Windows refuses to be asked for defaults in it.
    bool utf8 = GetACP() == CP_UTF8;
    BOOL defaulted = FALSE;
    int n = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, path.c_str(), -1, out, size, nullptr,
                                utf8 ? nullptr : &defaulted);
    return n > 0 && !defaulted;
}

bool FindHostPath(LPCWSTR folder, char *hostPath, int size)
{
    if (AnsiSkinsPath(folder, hostPath, size))
        return true;
    DWORD n = GetShortPathNameW(folder, nullptr, 0);
    if (n == 0)
        return false;
    std::wstring shortFolder(n, L'\0');
    n = GetShortPathNameW(folder, &shortFolder[0], n);
    if (n == 0 || n >= shortFolder.size())
        return false;
    shortFolder.resize(n);
    return AnsiSkinsPath(shortFolder, hostPath, size);
}
