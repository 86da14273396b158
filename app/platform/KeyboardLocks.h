#pragma once

#include <optional>

// The keyboard's lock keys as its indicator lights show them, read from the window system each
// time they are asked for. Nothing when the platform cannot tell (not X11, no XKB, no such
// indicator): a status bar then leaves the indicator out rather than guess.
class KeyboardLocks {
  public:
    static std::optional<bool> CapsLock();
    static std::optional<bool> NumLock();
    static std::optional<bool> ScrollLock();
};
