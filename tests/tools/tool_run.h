// Running a tool of the build the way a user does, and the files it reads,
// for the tool tests.
#pragma once

#include <stdint.h>
#include <string>
#include <vector>

struct ToolRun {
    int Status;       // exit code, -1 when it did not exit normally
    std::string Out;  // what it wrote to standard output
};

// Runs a shell command line and collects its standard output.
ToolRun RunCommand(const std::string &command);

// Runs dialwick-preview with the arguments; standard error joins the output,
// as the messages are what the tool tests read.
ToolRun RunPreview(const std::string &args);

// The bytes of a file, none when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const std::string &path);

// The text's lines, without their line ends.
std::vector<std::string> Lines(const std::string &text);

// UTF-8 text as a registry editor's UTF-16 LE file, with its byte-order mark.
std::string Utf16File(const std::string &utf8);
