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
    int c;
    while ((c = fgetc(f)) != EOF)
        bytes.push_back((uint8_t)c);
    fclose(f);
    return bytes;
}
