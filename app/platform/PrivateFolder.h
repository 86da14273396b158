#pragma once

#include <sys/types.h>

#include <string>

// Where what only its user may reach can live: a folder no other local user can plant a socket,
// lock or link in beforehand.

// True when folder is a folder itself (not a link to one), owned by uid, with mode 0700.
bool IsPrivateFolder(const std::string& folder, uid_t uid);

// The folder for uid's hand-over socket and its lock: runtimeDir (XDG_RUNTIME_DIR) when it is set
// and not empty, else tempDir/korvane-<uid>, made with mode 0700 when missing. Empty when that
// folder is not private: the program then runs on its own, without a socket.
std::string PrivateSocketFolder(const char* runtimeDir, const std::string& tempDir, uid_t uid);
