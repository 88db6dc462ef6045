// Running a tool of the build the way a user does, for the tool tests.
#pragma once

#include <string>

struct ToolRun {
    int Status;       // exit code, -1 when it did not exit normally
    std::string Out;  // what it wrote to standard output
};

// Runs a shell command line and collects its standard output.
ToolRun RunCommand(const std::string &command);
