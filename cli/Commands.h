#pragma once

#include <string>
#include <vector>

// Exit statuses of every command.
enum ExitStatus { kExitOk = 0, kExitFailure = 1, kExitInvalidRecord = 2 };

using Args = std::vector<std::string>;

struct Command {
    const char* name;
    const char* synopsis;
    const char* help;
    int (*run)(const Args& args);
};

int RunDump(const Args& args);
int RunInfo(const Args& args);
int RunConvert(const Args& args);
int RunTrace(const Args& args);
int RunThumbnail(const Args& args);

// Reports a usage or file error on stderr and returns kExitFailure.
int Fail(const std::string& message);
// Splits "WxH" into positive numbers; false when it is not that.
bool ParseSize(const std::string& text, int& width, int& height);
