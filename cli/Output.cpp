#include "cli/Output.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <system_error>

#include "cli/Commands.h"
#include "plot/SafeFile.h"

namespace {
// The length of the well-formed UTF-8 sequence at text[i], or 0 when there is none.
std::size_t Utf8Length(const std::string& text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned min = 0, code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, min = 0x80, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, min = 0x800, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, min = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    if (code >= 0x80 && code <= 0x9F) return 0;  // C1 controls: terminals act on some of them
    return length;
}
}  // namespace

std::string Printable(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (c >= 0x20 && c != 0x7F) out += static_cast<char>(c);
            ++i;
        } else if (const std::size_t n = Utf8Length(text, i)) {
            out.append(text, i, n);
            i += n;
        } else {
            out += "\xEF\xBF\xBD";  // U+FFFD for a byte that starts no character
            ++i;
        }
    }
    return out;
}

int Fail(const std::string& message) {
    // Some messages end with a command's usage, our own text of one or more lines; the rest may
    // hold names, and is printed as one line as Printable makes it.
    std::size_t usage = message.compare(0, 7, "usage: ") == 0 ? 0 : message.rfind("\nusage: ");
    if (usage == std::string::npos) usage = message.size();
    const std::string text = Printable(message.substr(0, usage)) + message.substr(usage);
    std::fprintf(stderr, "korvane-cli: %s\n", text.c_str());
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

std::string FirstFileOf(const Args& args) {
    static const char* const kValued[] = {"--size",   "--face",  "--line-width", "--antialias",
                                          "--config", "--paper", "--printer"};
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") return a;
        if (a == "--") optionsEnded = true;
        for (const char* valued : kValued) {
            if (a == valued) ++i;
        }
    }
    return {};
}

namespace {
int FailAbout(const Args& args, const std::string& why) {
    const std::string file = FirstFileOf(args);
    return Fail((file.empty() ? "" : file + ": ") + why + "; nothing written");
}
}  // namespace

int OutOfMemory(const Args& args) {
    return FailAbout(args, "out of memory");
}

namespace {
char g_subject[512];  // the running command's input file, for the terminate handler

// Memory can also run out inside a library that cannot pass the failure on (Qt ending a
// painter from its destructor); the process then ends with the same report, not a core dump.
[[noreturn]] void OnTerminate() {
    bool memory = false;
    try {
        if (std::exception_ptr e = std::current_exception()) std::rethrow_exception(e);
    } catch (const std::bad_alloc&) {
        memory = true;
    } catch (...) {
    }
    EndAbruptly(memory, "internal error");
}
}  // namespace

void EndAbruptly(bool outOfMemory, const char* why) {
    // Unnamed outputs vanish with the process; named temporaries are removed here.
    SafeFile::RemoveTemporaries();
    std::fprintf(stderr, "korvane-cli: %s%s%s; nothing written\n", g_subject,
                 *g_subject ? ": " : "", outOfMemory ? "out of memory" : why);
    std::_Exit(kExitFailure);
}

int RunGuarded(int (*run)(const Args&), const Args& args) {
    const std::string subject = Printable(FirstFileOf(args));
    std::snprintf(g_subject, sizeof g_subject, "%s", subject.c_str());
    std::set_terminate(OnTerminate);
    // Any output file is dropped by its destructor on the way out, so nothing half-made stays.
    try {
        return run(args);
    } catch (const std::bad_alloc&) {
        return OutOfMemory(args);
    } catch (const std::system_error& e) {
        // A thread or other resource the system could not give.
        if (e.code() == std::errc::resource_unavailable_try_again ||
            e.code() == std::errc::not_enough_memory) {
            return OutOfMemory(args);
        }
        return FailAbout(args, e.what());
    }
}
