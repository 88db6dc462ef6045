// Directory listing over the host's file system with the attributes Windows
// reports: a plain folder is exactly FILE_ATTRIBUTE_DIRECTORY, a folder or
// file without write permission adds FILE_ATTRIBUTE_READONLY, a file is
// FILE_ATTRIBUTE_ARCHIVE, a symbolic link a reparse point. Entries come in
// NTFS order: "." and ".." first, then by upper-cased name. Every file the
// simulation opens is found as Windows finds it, its names in any case.
#include "platform/sim/sim_internal.h"

#include <algorithm>
#include <ctype.h>
#include <dirent.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>

namespace {

struct Listing {
    std::vector<WIN32_FIND_DATAA> Entries;
    size_t Next = 0;
};

struct FindState {
    std::map<uintptr_t, Listing> Open;
    std::map<std::string, DWORD> ExtraAttributes;  // by host path
};

FindState &Finds()
{
    static FindState state;
    return state;
}

bool SameLetter(char a, char b) { return toupper((unsigned char)a) == toupper((unsigned char)b); }

// The entry of dir named name in any case: the exact name when it exists,
// else the first the listing gives that differs only in case.
bool FindEntry(const std::string &dir, std::string *name)
{
    struct stat st;
    if (lstat((dir + "/" + *name).c_str(), &st) == 0)
        return true;
    DIR *d = opendir(dir.c_str());
    if (!d)
        return false;
    bool found = false;
    while (dirent *e = readdir(d)) {
        if (strcasecmp(e->d_name, name->c_str()) == 0) {
            *name = e->d_name;
            found = true;
            break;
        }
    }
    closedir(d);
    return found;
}

// Windows wildcards: '*' any run, '?' one character, letters in any case;
// "*.*" matches every name. Backtracks only to the last star.
bool Matches(const char *pattern, const char *name)
{
    if (strcmp(pattern, "*.*") == 0)
        return true;
    const char *star = nullptr, *resume = nullptr;
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern && (*pattern == '?' || SameLetter(*pattern, *name))) {
            pattern++;
            name++;
        } else if (star) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*')
        pattern++;
    return *pattern == 0;
}

// Seconds since 1970 to 100-nanosecond intervals since 1601.
FILETIME FileTime(time_t seconds)
{
    uint64_t t = ((uint64_t)seconds + 11644473600ull) * 10000000ull;
    return FILETIME{(DWORD)t, (DWORD)(t >> 32)};
}

bool Describe(const std::string &dir, const char *name, WIN32_FIND_DATAA *data)
{
    std::string path = dir + "/" + name;
    struct stat link, st;
    if (lstat(path.c_str(), &link) != 0)
        return false;
    bool isLink = S_ISLNK(link.st_mode);
    if (isLink && stat(path.c_str(), &st) != 0)
        st = link;
    else if (!isLink)
        st = link;
    memset(data, 0, sizeof(*data));
    DWORD attributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if (!(st.st_mode & S_IWUSR))
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (isLink)
        attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    auto extra = Finds().ExtraAttributes.find(SimHostPath(path.c_str()));
    if (extra != Finds().ExtraAttributes.end())
        attributes |= extra->second;
    data->dwFileAttributes = attributes;
    data->ftCreationTime = FileTime(st.st_ctime);
    data->ftLastAccessTime = FileTime(st.st_atime);
    data->ftLastWriteTime = FileTime(st.st_mtime);
    if (!S_ISDIR(st.st_mode)) {
        data->nFileSizeHigh = (DWORD)((uint64_t)st.st_size >> 32);
        data->nFileSizeLow = (DWORD)st.st_size;
    }
    snprintf(data->cFileName, sizeof(data->cFileName), "%s", name);
    return true;
}

int NtfsRank(const char *name)
{
    if (strcmp(name, ".") == 0)
        return 0;
    return strcmp(name, "..") == 0 ? 1 : 2;
}

bool NtfsBefore(const WIN32_FIND_DATAA &a, const WIN32_FIND_DATAA &b)
{
    int ra = NtfsRank(a.cFileName), rb = NtfsRank(b.cFileName);
    if (ra != rb)
        return ra < rb;
    for (const char *x = a.cFileName, *y = b.cFileName;; x++, y++) {
        int cx = toupper((unsigned char)*x), cy = toupper((unsigned char)*y);
        if (cx != cy || cx == 0)
            return cx < cy;
    }
}

}  // namespace

HANDLE FindFirstFileA(LPCSTR fileName, LPWIN32_FIND_DATAA data)
{
    if (SimShouldFail("FindFirstFileA")) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if (!fileName || !data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if (strlen(fileName) >= MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return INVALID_HANDLE_VALUE;
    }
    std::string full = fileName;
    size_t cut = full.find_last_of("\\/");
    std::string dir = cut == std::string::npos ? "." : SimHostPath(full.substr(0, cut + 1).c_str());
    std::string pattern = cut == std::string::npos ? full : full.substr(cut + 1);
    DIR *d = opendir(dir.c_str());
    if (!d) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    Listing listing;
    while (dirent *e = readdir(d)) {
        WIN32_FIND_DATAA entry;
        if (Matches(pattern.c_str(), e->d_name) && Describe(dir, e->d_name, &entry))
            listing.Entries.push_back(entry);
    }
    closedir(d);
    if (listing.Entries.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::sort(listing.Entries.begin(), listing.Entries.end(), NtfsBefore);
    *data = listing.Entries[0];
    listing.Next = 1;
    uintptr_t h = SimNewHandle();
    Finds().Open[h] = std::move(listing);
    return (HANDLE)h;
}

BOOL FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA data)
{
    if (SimShouldFail("FindNextFileA")) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    auto it = Finds().Open.find((uintptr_t)find);
    if (it == Finds().Open.end() || !data) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    Listing &l = it->second;
    if (l.Next >= l.Entries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    *data = l.Entries[l.Next++];
    return TRUE;
}

// Closing a valid listing cannot fail, so it takes no injected failure.
BOOL FindClose(HANDLE find)
{
    if (!Finds().Open.erase((uintptr_t)find)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

std::string SimHostPath(const char *path)
{
    std::string host = path[0] == '/' || path[0] == '\\' ? "/" : "";
    bool matching = true;
    for (const char *c = path; *c;) {
        size_t length = strcspn(c, "/\\");
        std::string name(c, length);
        c += length;
        c += *c ? 1 : 0;
        if (name.empty())
            continue;
        if (matching)
            matching = FindEntry(host.empty() ? "." : host, &name);
        host += (host.empty() || host.back() == '/' ? "" : "/") + name;
    }
    return host;
}

void SimAddFileAttributes(const char *path, DWORD attributes)
{
    Finds().ExtraAttributes[SimHostPath(path)] |= attributes;
}

int SimOpenFindHandles() { return (int)Finds().Open.size(); }

void SimResetFind() { Finds() = FindState{}; }
