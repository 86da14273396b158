#pragma once

// Loads one of korvane-cli's modules from ../lib/korvane/ beside the program and returns what
// its entry point gives; null after a failure, reported as "the module for <what> could not be
// loaded" unless it was the lack of memory, which lackedMemory tells the caller to report.
const void* LoadModuleTable(const char* file, const char* entry, const char* what,
                            bool& lackedMemory);
