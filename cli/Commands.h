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
int RunFonts(const Args& args);
int RunThumbnail(const Args& args);
int RunPrint(const Args& args);
int RunFind(const Args& args);
int RunMeasure(const Args& args);

// Reports a usage or file error, or a warning, on stderr and returns kExitFailure. Each line is
// printed as Printable makes it.
int Fail(const std::string& message);
// text for a terminal: control bytes left out, bytes that are not UTF-8 replaced by U+FFFD.
std::string Printable(const std::string& text);
// Splits "WxH" into numbers from 1 to 100000; false when it is not that.
bool ParseSize(const std::string& text, int& width, int& height);
// Runs a command; memory or a thread the system cannot give is reported as "out of memory" with
// the command's input file (exit 1), everything it was writing dropped.
int RunGuarded(int (*run)(const Args&), const Args& args);
int OutOfMemory(const Args& args);
// Ends the process at once from where no failure can be passed on, with the report RunGuarded
// would give: "out of memory", or why.
[[noreturn]] void EndAbruptly(bool outOfMemory, const char* why);
// The first file name among a command's arguments, or an empty string.
std::string FirstFileOf(const Args& args);
// A whole number from min to max written in plain digits; false otherwise, overflow included.
bool ParseWhole(const std::string& text, long min, long max, int& value);
