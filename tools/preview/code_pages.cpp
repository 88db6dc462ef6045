#include "tools/preview/code_pages.h"

#include <errno.h>
#include <iconv.h>
#include <stdio.h>
#include <string.h>

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

// The bytes the single-byte code pages leave unassigned, with the characters
// Windows gives them (measured under Wine) in UTF-8: the C1 control of the
// same number, or for three bytes of 1253 a private-use character. iconv
// refuses them both ways, so a user's text holding one would not convert.
struct UnassignedByte {
    unsigned CodePage;
    uint8_t Byte;
    const char *Utf8;
};
static const UnassignedByte UnassignedBytes[] = {
    {1250, 0x81, "\xC2\x81"}, {1250, 0x83, "\xC2\x83"},     {1250, 0x88, "\xC2\x88"},     {1250, 0x90, "\xC2\x90"},
    {1250, 0x98, "\xC2\x98"}, {1251, 0x98, "\xC2\x98"},     {1252, 0x81, "\xC2\x81"},     {1252, 0x8D, "\xC2\x8D"},
    {1252, 0x8F, "\xC2\x8F"}, {1252, 0x90, "\xC2\x90"},     {1252, 0x9D, "\xC2\x9D"},     {1253, 0x81, "\xC2\x81"},
    {1253, 0x88, "\xC2\x88"}, {1253, 0x8A, "\xC2\x8A"},     {1253, 0x8C, "\xC2\x8C"},     {1253, 0x8D, "\xC2\x8D"},
    {1253, 0x8E, "\xC2\x8E"}, {1253, 0x8F, "\xC2\x8F"},     {1253, 0x90, "\xC2\x90"},     {1253, 0x98, "\xC2\x98"},
    {1253, 0x9A, "\xC2\x9A"}, {1253, 0x9C, "\xC2\x9C"},     {1253, 0x9D, "\xC2\x9D"},     {1253, 0x9E, "\xC2\x9E"},
    {1253, 0x9F, "\xC2\x9F"}, {1253, 0xAA, "\xEF\xA3\xB9"}, {1253, 0xD2, "\xEF\xA3\xBA"}, {1253, 0xFF, "\xEF\xA3\xBB"},
};

// The character at the input that iconv refused, when it is one of the
// unassigned bytes or their characters: appends its other form and returns
// the input bytes it takes; 0 for any other character.
static size_t ConvertUnassigned(unsigned codePage, bool toAnsi, const char *in, size_t left, std::string *out)
{
    for (const UnassignedByte &u : UnassignedBytes) {
        if (u.CodePage != codePage)
            continue;
        size_t length = strlen(u.Utf8);
        if (toAnsi && left >= length && memcmp(in, u.Utf8, length) == 0) {
            *out += (char)u.Byte;
            return length;
        }
        if (!toAnsi && (uint8_t)in[0] == u.Byte) {
            *out += u.Utf8;
            return 1;
        }
    }
    return 0;
}

// Converts between the code page and UTF-8 with iconv and Windows' mapping
// of the unassigned bytes; on any other character it cannot convert either
// stops (returning false) or writes '?' and skips one input byte.
static bool Convert(const std::string &in, unsigned codePage, bool toAnsi, bool replace, std::string *out)
{
    out->clear();
    char name[16];
    snprintf(name, sizeof(name), "CP%u", codePage);
    iconv_t cd = toAnsi ? iconv_open(name, "UTF-8") : iconv_open("UTF-8", name);
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
        size_t taken = ConvertUnassigned(codePage, toAnsi, inPtr, inLeft, out);
        if (taken == 0) {
            if (!replace) {
                ok = false;
                break;
            }
            out->push_back('?');
            taken = 1;
        }
        inPtr += taken;
        inLeft -= taken;
    }
    iconv_close(cd);
    return ok;
}

std::string AnsiToUtf8(const std::string &ansi, unsigned codePage)
{
    std::string out;
    if (!Convert(ansi, codePage, false, true, &out))
        return ansi;
    return out;
}

bool Utf8ToAnsi(const std::string &utf8, unsigned codePage, std::string *ansi)
{
    return Convert(utf8, codePage, true, false, ansi);
}
