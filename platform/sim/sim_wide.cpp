// The wide-character calls: conversion to the ANSI code page (through iconv,
// so every code page the C library knows), and short path names.
#include "platform/sim/sim_internal.h"

#include <errno.h>
#include <iconv.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <sys/stat.h>
#include <wchar.h>

namespace {

// One character in the code page, or false when the code page lacks it.
bool ConvertOne(iconv_t cd, wchar_t c, std::string *out)
{
    char *in = (char *)&c;
    size_t inLeft = sizeof(c);
    char buffer[8];
    char *to = buffer;
    size_t toLeft = sizeof(buffer);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &inLeft, &to, &toLeft) == (size_t)-1)
        return false;
    out->append(buffer, (size_t)(to - buffer));
    return true;
}

std::string HostForm(const std::wstring &path)
{
    std::string utf8;
    iconv_t cd = iconv_open("UTF-8", "WCHAR_T");
    if (cd == (iconv_t)-1)
        return utf8;
    for (wchar_t c : path)
        if (!ConvertOne(cd, c == L'\\' ? L'/' : c, &utf8))
            utf8 += '?';
    iconv_close(cd);
    return utf8;
}

}  // namespace

// Best-fit mapping is not simulated: a character the code page lacks always
// becomes the default character, as with WC_NO_BEST_FIT_CHARS.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength, LPSTR out, int outSize,
                        LPCSTR defaultChar, LPBOOL usedDefaultChar)
{
    if (codePage == CP_ACP)
        codePage = GetACP();
    // UTF-8 holds every character, and Windows refuses to be asked about defaults for it.
    if (codePage == CP_UTF8 && (flags || defaultChar || usedDefaultChar)) {
        SetLastError(flags ? ERROR_INVALID_FLAGS : ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!wide || outSize < 0 || (outSize > 0 && !out) || (flags & ~(DWORD)WC_NO_BEST_FIT_CHARS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    char name[16];
    snprintf(name, sizeof(name), codePage == CP_UTF8 ? "UTF-8" : "CP%u", codePage);
    iconv_t cd = iconv_open(name, "WCHAR_T");
    if (cd == (iconv_t)-1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t length = wideLength < 0 ? wcslen(wide) + 1 : (size_t)wideLength;
    std::string converted;
    bool defaulted = false;
    for (size_t i = 0; i < length; i++)
        if (!ConvertOne(cd, wide[i], &converted)) {
            converted += defaultChar ? *defaultChar : '?';
            defaulted = true;
        }
    iconv_close(cd);
    if (usedDefaultChar)
        *usedDefaultChar = defaulted;
    if (outSize == 0)
        return (int)converted.size();
    if (converted.size() > (size_t)outSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    memcpy(out, converted.data(), converted.size());
    return (int)converted.size();
}

void SimSetShortPathName(const wchar_t *longPath, const wchar_t *shortPath) { Sim().ShortPaths[longPath] = shortPath; }

DWORD GetShortPathNameW(LPCWSTR longPath, LPWSTR shortPath, DWORD size)
{
    struct stat st;
    if (!longPath || stat(HostForm(longPath).c_str(), &st) != 0) {
        SetLastError(longPath ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto it = Sim().ShortPaths.find(longPath);
    std::wstring result = it != Sim().ShortPaths.end() ? it->second : std::wstring(longPath);
    // Too small a buffer: the size needed, with the terminator.
    if (!shortPath || size <= result.size())
        return (DWORD)result.size() + 1;
    wmemcpy(shortPath, result.c_str(), result.size() + 1);
    return (DWORD)result.size();
}
