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
