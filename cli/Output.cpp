#include "cli/Output.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "cli/Commands.h"

int Fail(const std::string& message) {
    std::fprintf(stderr, "korvane-cli: %s\n", message.c_str());
    return kExitFailure;
}

void StdOutput::Write(const char* data, std::size_t size) {
    if (m_error || size == 0) return;
    if (std::fwrite(data, 1, size, stdout) != size) m_error = errno ? errno : EIO;
}

void StdOutput::Print(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (n < 0) return;
    if (static_cast<std::size_t>(n) < sizeof line) return Write(line, static_cast<std::size_t>(n));
    std::string longer(static_cast<std::size_t>(n) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(longer.data(), longer.size(), format, args);
    va_end(args);
    Write(longer.data(), static_cast<std::size_t>(n));
}

int StdOutput::Finish(int status) {
    errno = 0;
    if (!m_error && std::fflush(stdout) != 0) m_error = errno ? errno : EIO;
    if (m_error) return Fail(std::string("cannot write the output: ") + std::strerror(m_error));
    return status;
}
