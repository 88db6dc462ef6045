#include "tools/preview/reg_import.h"

#include "platform/sim/sim_control.h"
#include "tools/preview/code_pages.h"

#include <string.h>
#include <strings.h>

namespace {

struct SourceLine {
    std::string Text;  // UTF-8 for a UTF-16 file, the file's bytes otherwise
    int Number;
};

struct Parser {
    bool Unicode = false;   // the file is UTF-16
    bool Version5 = false;  // hex(N) strings are UTF-16
    unsigned CodePage = 0;
    std::string Error;

    bool Fail(int line, const std::string &why)
    {
        Error = "line " + std::to_string(line) + ": " + why;
        return false;
    }
};

const char SettingsKeyLine[] = "[HKEY_CURRENT_USER\\Software\\Orvantis\\Zantor\\Dialwick]";
const char CurrentUser[] = "HKEY_CURRENT_USER";

void AppendUtf8(std::string &out, uint32_t c)
{
    if (c < 0x80) {
        out += (char)c;
    } else if (c < 0x800) {
        out += (char)(0xC0 | (c >> 6));
        out += (char)(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += (char)(0xE0 | (c >> 12));
        out += (char)(0x80 | ((c >> 6) & 0x3F));
        out += (char)(0x80 | (c & 0x3F));
    } else {
        out += (char)(0xF0 | (c >> 18));
        out += (char)(0x80 | ((c >> 12) & 0x3F));
        out += (char)(0x80 | ((c >> 6) & 0x3F));
        out += (char)(0x80 | (c & 0x3F));
    }
}

// UTF-16 LE to UTF-8; *badUnit is the index of a unit that is not a valid character.
bool Utf16ToUtf8(const uint8_t *bytes, size_t units, std::string *out, size_t *badUnit)
{
    for (size_t i = 0; i < units; i++) {
        uint32_t c = bytes[2 * i] | (bytes[2 * i + 1] << 8);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units) {
            uint32_t low = bytes[2 * i + 2] | (bytes[2 * i + 3] << 8);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(*out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                i++;
                continue;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            *badUnit = i;
            return false;
        }
        AppendUtf8(*out, c);
    }
    return true;
}

void SplitLines(const std::string &text, std::vector<SourceLine> *lines)
{
    std::string line;
    int number = 1;
    for (size_t i = 0; i <= text.size(); i++) {
        char c = i < text.size() ? text[i] : '\n';
        if (c == '\r' || c == '\n') {
            lines->push_back(SourceLine{line, number++});
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                i++;
        } else {
            line += c;
        }
    }
}

bool Decode(Parser &p, const uint8_t *bytes, size_t size, std::vector<SourceLine> *lines)
{
    std::string text;
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        p.Unicode = true;
        size_t units = (size - 2) / 2, bad = 0;
        if (!Utf16ToUtf8(bytes + 2, units, &text, &bad)) {
            std::string before;
            Utf16ToUtf8(bytes + 2, bad, &before, &bad);
            int line = 1;
            for (size_t i = 0; i < before.size(); i++)
                line += before[i] == '\n' || (before[i] == '\r' && (i + 1 == before.size() || before[i + 1] != '\n'));
            return p.Fail(line, "not valid UTF-16");
        }
        if (size % 2) {
            SplitLines(text, lines);
            return p.Fail((int)lines->size(), "UTF-16 text ends in half a character");
        }
    } else {
        text.assign((const char *)bytes, size);
    }
    SplitLines(text, lines);
    return true;
}

std::string TrimRight(const std::string &s)
{
    size_t end = s.find_last_not_of(" \t");
    return end == std::string::npos ? "" : s.substr(0, end + 1);
}

std::string TrimLeft(const std::string &s)
{
    size_t start = s.find_first_not_of(" \t");
    return start == std::string::npos ? "" : s.substr(start);
}

bool StartsWithNoCase(const std::string &s, const char *prefix)
{
    return strncasecmp(s.c_str(), prefix, strlen(prefix)) == 0;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// 1 to maxDigits hex digits from *pos.
bool ParseHex(const std::string &s, size_t *pos, int maxDigits, uint32_t *value)
{
    *value = 0;
    int digits = 0;
    while (*pos < s.size() && HexDigit(s[*pos]) >= 0) {
        if (++digits > maxDigits)
            return false;
        *value = (*value << 4) | (uint32_t)HexDigit(s[(*pos)++]);
    }
    return digits > 0;
}

// The Lang the file stores under the settings key, found line by line before
// the strings are read, since the code page decides how they are read.
unsigned StoredCodePage(const std::vector<SourceLine> &lines)
{
    unsigned codePage = 0;
    bool inSettings = false;
    for (const SourceLine &l : lines) {
        std::string text = TrimRight(l.Text);
        if (!text.empty() && text[0] == '[') {
            inSettings = strcasecmp(text.c_str(), SettingsKeyLine) == 0;
            continue;
        }
        const char prefix[] = "\"Lang\"=dword:";
        size_t pos = sizeof(prefix) - 1;
        uint32_t lang;
        if (inSettings && StartsWithNoCase(text, prefix) && ParseHex(text, &pos, 8, &lang) && pos == text.size())
            codePage = LanguageCodePage(lang);
    }
    return codePage ? codePage : WesternCodePage;
}

// A quoted string from s[*pos] (at the opening quote), with the two escapes
// the registry editor writes: a doubled backslash and a backslash-quote. A two-byte character of an ANSI
// file is taken whole, so its second byte is never an escape or a quote.
bool ParseQuoted(Parser &p, const std::string &s, size_t *pos, int line, std::string *text)
{
    text->clear();
    for (size_t i = *pos + 1; i < s.size(); i++) {
        uint8_t c = (uint8_t)s[i];
        if (!p.Unicode && IsLeadByte(p.CodePage, c) && i + 1 < s.size()) {
            *text += s.substr(i, 2);
            i++;
        } else if (c == '\\') {
            if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"'))
                return p.Fail(line, "unknown escape in a string: only \\\\ and \\\" are allowed");
            *text += s[++i];
        } else if (c == '"') {
            *pos = i + 1;
            return true;
        } else {
            *text += (char)c;
        }
    }
    return p.Fail(line, "string without its closing quote");
}

// UTF-8 text into the code page of the ANSI calls.
bool ConvertText(Parser &p, const std::string &utf8, int line, std::string *ansi)
{
    if (!Utf8ToAnsi(utf8, p.CodePage, ansi))
        return p.Fail(line, "text that code page " + std::to_string(p.CodePage) + " cannot hold");
    return true;
}

// Text of the file as the ANSI calls store it: an ANSI file's bytes are already.
bool ToAnsi(Parser &p, const std::string &text, int line, std::string *ansi)
{
    if (p.Unicode)
        return ConvertText(p, text, line, ansi);
    *ansi = text;
    return true;
}

bool ParseHexBytes(Parser &p, const std::string &s, size_t pos, int line, std::vector<uint8_t> *data)
{
    data->clear();
    std::string list = TrimRight(s.substr(pos));
    if (TrimLeft(list).empty())
        return true;
    size_t i = 0;
    for (;;) {
        while (i < list.size() && (list[i] == ' ' || list[i] == '\t'))
            i++;
        uint32_t byte;
        if (!ParseHex(list, &i, 2, &byte))
            return p.Fail(line, "hex data wants two-digit bytes separated by commas");
        data->push_back((uint8_t)byte);
        while (i < list.size() && (list[i] == ' ' || list[i] == '\t'))
            i++;
        if (i == list.size())
            return true;
        if (list[i++] != ',')
            return p.Fail(line, "hex data wants two-digit bytes separated by commas");
    }
}

bool IsStringType(uint32_t type) { return type == 1 || type == 2 || type == 7; }

// A string type of a version 5 file is UTF-16 in the export and ANSI for the
// ANSI calls.
bool HexStringToAnsi(Parser &p, int line, std::vector<uint8_t> *data)
{
    if (data->size() % 2)
        return p.Fail(line, "UTF-16 string data of an odd number of bytes");
    std::string utf8, ansi;
    size_t bad;
    if (!Utf16ToUtf8(data->data(), data->size() / 2, &utf8, &bad))
        return p.Fail(line, "string data that is not valid UTF-16");
    if (!ConvertText(p, utf8, line, &ansi))
        return false;
    data->assign(ansi.begin(), ansi.end());
    return true;
}

bool ParseData(Parser &p, const std::string &s, size_t pos, int line, RegImportValue *value)
{
    std::string rest = s.substr(pos);
    if (!rest.empty() && rest[0] == '"') {
        std::string text, ansi;
        size_t end = 0;
        if (!ParseQuoted(p, rest, &end, line, &text))
            return false;
        if (!TrimLeft(rest.substr(end)).empty())
            return p.Fail(line, "text after the closing quote");
        if (!ToAnsi(p, text, line, &ansi))
            return false;
        value->Type = 1;
        value->Data.assign(ansi.begin(), ansi.end());
        value->Data.push_back(0);
        return true;
    }
    if (StartsWithNoCase(rest, "dword:")) {
        size_t i = 6;
        uint32_t v;
        if (!ParseHex(rest, &i, 8, &v) || !TrimLeft(rest.substr(i)).empty())
            return p.Fail(line, "dword: wants one to eight hex digits");
        value->Type = 4;
        value->Data = {(uint8_t)v, (uint8_t)(v >> 8), (uint8_t)(v >> 16), (uint8_t)(v >> 24)};
        return true;
    }
    if (StartsWithNoCase(rest, "hex:")) {
        value->Type = 3;
        return ParseHexBytes(p, rest, 4, line, &value->Data);
    }
    if (StartsWithNoCase(rest, "hex(")) {
        size_t i = 4;
        uint32_t type;
        if (!ParseHex(rest, &i, 8, &type) || rest.compare(i, 2, "):") != 0)
            return p.Fail(line, "hex(N): wants a hex type number");
        value->Type = type;
        if (!ParseHexBytes(p, rest, i + 2, line, &value->Data))
            return false;
        if (!IsStringType(type))
            return true;
        // The registry editor ends string data that lacks a terminator with
        // one, so the value reads as its whole text (Wine stores
        // hex(1):41,00,42,00 as "AB" and a zero).
        std::vector<uint8_t> &data = value->Data;
        size_t unit = p.Version5 ? 2 : 1;
        if (!data.empty() && data.size() % unit == 0 && (data.back() || data[data.size() - unit]))
            data.insert(data.end(), unit, 0);
        return !p.Version5 || HexStringToAnsi(p, line, &data);
    }
    if (TrimRight(rest) == "-")
        return p.Fail(line, "deleting a value is not imported");
    return p.Fail(line, "unknown kind of value (string, dword:, hex: or hex(N): expected)");
}

bool ParseKey(Parser &p, const std::string &text, int line, std::string *keyPath)
{
    if (text.size() < 2 || text.back() != ']')
        return p.Fail(line, "key without its closing bracket");
    std::string path = text.substr(1, text.size() - 2);
    if (!path.empty() && path[0] == '-')
        return p.Fail(line, "deleting a key is not imported");
    size_t slash = path.find('\\');
    std::string root = path.substr(0, slash);
    if (strcasecmp(root.c_str(), CurrentUser) != 0)
        return p.Fail(line, "only keys of HKEY_CURRENT_USER can be imported");
    std::string named = slash == std::string::npos ? "" : path.substr(slash + 1);
    if (!ToAnsi(p, named, line, keyPath))
        return false;
    while (!keyPath->empty() && keyPath->back() == '\\')
        keyPath->pop_back();
    if (keyPath->find("\\\\") != std::string::npos)
        return p.Fail(line, "key path with an empty name");
    return true;
}

bool ParseValue(Parser &p, const std::string &text, int line, const std::string &keyPath, RegImportValue *value)
{
    std::string name;
    size_t pos = 0;
    if (text[0] == '@') {
        pos = 1;
    } else if (!ParseQuoted(p, text, &pos, line, &name)) {
        return false;
    } else if (!ToAnsi(p, name, line, &value->Name)) {
        return false;
    }
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        pos++;
    if (pos >= text.size() || text[pos] != '=')
        return p.Fail(line, "value name without '='");
    pos++;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        pos++;
    value->KeyPath = keyPath;
    return ParseData(p, text, pos, line, value);
}

// A value goes on over the next lines while a line ends in a backslash, as
// the registry editor wraps hex data; a string cannot end that way unclosed.
std::string JoinContinued(const std::vector<SourceLine> &lines, size_t *i)
{
    std::string text = TrimRight(lines[*i].Text);
    std::string start = TrimLeft(text);
    bool value = !start.empty() && (start[0] == '"' || start[0] == '@');
    while (value && !text.empty() && text.back() == '\\' && *i + 1 < lines.size()) {
        text.pop_back();
        text += TrimLeft(TrimRight(lines[++*i].Text));
    }
    return text;
}

}  // namespace

bool ParseRegFile(const uint8_t *bytes, size_t size, unsigned codePage, RegImport *import, std::string *error)
{
    Parser p;
    std::vector<SourceLine> lines;
    RegImport result;
    if (!Decode(p, bytes, size, &lines)) {
        *error = p.Error;
        return false;
    }
    std::string header = TrimRight(lines[0].Text);
    if (header == "Windows Registry Editor Version 5.00") {
        p.Version5 = true;
    } else if (header != "REGEDIT4") {
        *error = "line 1: not a registry export (\"Windows Registry Editor Version 5.00\" or \"REGEDIT4\" expected)";
        return false;
    }
    p.CodePage = codePage ? codePage : StoredCodePage(lines);
    result.CodePage = p.CodePage;

    bool haveKey = false;
    std::string keyPath;
    for (size_t i = 1; i < lines.size(); i++) {
        int number = lines[i].Number;
        std::string text = TrimLeft(JoinContinued(lines, &i));
        if (text.empty() || text[0] == ';')
            continue;
        bool ok = true;
        if (text[0] == '[') {
            ok = ParseKey(p, text, number, &keyPath);
            haveKey = ok;
            if (ok)
                result.Keys.push_back(keyPath);
        } else if (text[0] == '"' || text[0] == '@') {
            RegImportValue value;
            ok = haveKey ? ParseValue(p, text, number, keyPath, &value) : p.Fail(number, "value before any key");
            if (ok)
                result.Values.push_back(value);
        } else {
            ok = p.Fail(number, "neither a key, a value nor a comment");
        }
        if (!ok) {
            *error = p.Error;
            return false;
        }
    }
    *import = result;
    return true;
}

void ApplyRegImport(const RegImport &import)
{
    for (const std::string &key : import.Keys)
        SimRegCreateKey(key.c_str());
    for (const RegImportValue &v : import.Values)
        SimRegSetValue(v.KeyPath.c_str(), v.Name.c_str(), v.Type, v.Data.data(), v.Data.size());
}
