#pragma once

#include <cstddef>
#include <string>

// Standard output with every write checked. A full disk or a closed reader must not pass for
// success: the first failure is kept, later writes are dropped, and Finish reports it.
class StdOutput {
  public:
    void Write(const char* data, std::size_t size);
    void Write(const std::string& text) { Write(text.data(), text.size()); }
    // printf-style; lines stay short, a longer one is still written whole.
    void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    bool Failed() const { return m_error != 0; }
    // Flushes; returns status, or kExitFailure after reporting the write error on stderr.
    int Finish(int status);

  private:
    int m_error = 0;
};
