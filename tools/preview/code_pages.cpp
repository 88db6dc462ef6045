#include "tools/preview/code_pages.h"

#include <errno.h>
#include <iconv.h>
#include <stdio.h>

static const unsigned LanguageCodePages[16] = {
    950, 936, 1252, 1252, 1252, 1252, 1253, 1252, 932, 1252, 1252, 1252, 1250, 1252, 1251, 1252,
};

unsigned LanguageCodePage(uint32_t language) { return language < 16 ? LanguageCodePages[language] : 0; }

bool IsLanguageCodePage(unsigned codePage)
{
    for (unsigned c : LanguageCodePages)
        if (c == codePage)
            return true;
    return false;
}

bool IsLeadByte(unsigned codePage, uint8_t byte)
{
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return false;
    }
}

// Converts with iconv; on a character it cannot convert either stops
// (returning false) or writes '?' and skips one input byte.
static bool Convert(const std::string &in, const char *to, const char *from, bool replace, std::string *out)
{
    out->clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == (iconv_t)-1)
        return false;
    char *inPtr = const_cast<char *>(in.data());
    size_t inLeft = in.size();
    bool ok = true;
    while (inLeft > 0) {
        char buffer[256];
        char *outPtr = buffer;
        size_t outLeft = sizeof(buffer);
        size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out->append(buffer, (size_t)(outPtr - buffer));
        if (r != (size_t)-1 || errno == E2BIG)
            continue;
        if (!replace) {
            ok = false;
            break;
        }
        out->push_back('?');
        inPtr++;
        inLeft--;
    }
    iconv_close(cd);
    return ok;
}

static std::string CodePageName(unsigned codePage)
{
    char name[16];
    snprintf(name, sizeof(name), "CP%u", codePage);
    return name;
}

std::string AnsiToUtf8(const std::string &ansi, unsigned codePage)
{
    std::string out;
    if (!Convert(ansi, "UTF-8", CodePageName(codePage).c_str(), true, &out))
        return ansi;
    return out;
}

bool Utf8ToAnsi(const std::string &utf8, unsigned codePage, std::string *ansi)
{
    return Convert(utf8, CodePageName(codePage).c_str(), "UTF-8", false, ansi);
}
