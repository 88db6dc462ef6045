#include "tests/tools/tool_run.h"

#include <iconv.h>
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
    std::string out(2 + 4 * utf8.size(), '\0');
    char *in = (char *)utf8.data(), *to = &out[2];
    size_t inLeft = utf8.size(), outLeft = out.size() - 2;
    iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
    iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out.replace(0, 2, "\xFF\xFE");
}
