#include "tests/tools/tool_run.h"

#include <stdio.h>
#include <sys/wait.h>

ToolRun RunCommand(const std::string &command)
{
    ToolRun r{-1, ""};
    FILE *p = popen(command.c_str(), "r");
    if (!p)
        return r;
    char buf[512];
    while (fgets(buf, sizeof(buf), p))
        r.Out += buf;
    int status = pclose(p);
    r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

ToolRun RunPreview(const std::string &args) { return RunCommand(std::string(DIALWICK_PREVIEW) + " " + args + " 2>&1"); }

std::vector<uint8_t> ReadFileBytes(const std::string &path)
{
    std::vector<uint8_t> bytes;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    for (int c; (c = fgetc(f)) != EOF;)
        bytes.push_back((uint8_t)c);
    fclose(f);
    return bytes;
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::string Utf16File(const std::string &utf8)
{
    std::string out = "\xFF\xFE";
    for (size_t i = 0; i < utf8.size();) {
        uint32_t c = (uint8_t)utf8[i];
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        c &= extra ? (0x3F >> extra) : 0x7F;
        for (int k = 1; k <= extra; k++)
            c = (c << 6) | ((uint8_t)utf8[i + k] & 0x3F);
        i += 1 + extra;
        uint32_t units[2] = {c, 0};
        if (c >= 0x10000)
            units[0] = 0xD800 + ((c - 0x10000) >> 10), units[1] = 0xDC00 + ((c - 0x10000) & 0x3FF);
        for (int u = 0; u < (c >= 0x10000 ? 2 : 1); u++)
            out += {(char)(units[u] & 0xFF), (char)(units[u] >> 8)};
    }
    return out;
}
