#include "cli/Arguments.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "cli/CliFeedback.h"
#include "plot/FileError.h"
#include "plot/KorvaneDoc.h"

namespace {
int SetOption(const std::string& name, const std::string& value, ConvertOptions& options) {
    if (name == "--size") {
        if (!ParseSize(value, options.width, options.height)) {
            return Fail(
                "--size takes WxH, each a whole number from 1 to 100000, for example "
                "1000x800");
        }
    } else if (name == "--face") {
        if (value.empty()) return Fail("--face takes a font name");
        options.face = value;
    } else if (name == "--line-width") {
        if (!ParseWhole(value, 0, 1000, options.lineWidth)) {
            return Fail("--line-width takes a whole number from 0 to 1000 (logical units)");
        }
    } else if (name == "--antialias") {
        if (value != "on" && value != "off") return Fail("--antialias takes on or off");
        options.antialias = value == "on";
    } else if (name == "--crs" || name == "--format") {
        if (value.empty()) return Fail(name + " takes a value");
        (name == "--crs" ? options.crs : options.format) = value;
    } else {
        options.config = value;
    }
    options.given.push_back(name);
    return kExitOk;
}
}  // namespace

bool ParseWhole(const std::string& text, long min, long max, int& value) {
    // Digits only: no sign, no spaces, nothing after; a number too long for a long is refused
    // rather than wrapped.
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    errno = 0;
    const long v = std::strtol(text.c_str(), nullptr, 10);
    if (errno == ERANGE || v < min || v > max) return false;
    value = static_cast<int>(v);
    return true;
}

bool ParseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find('x');
    int w = 0, h = 0;
    if (x == std::string::npos || !ParseWhole(text.substr(0, x), 1, 100000, w) ||
        !ParseWhole(text.substr(x + 1), 1, 100000, h)) {
        return false;
    }
    width = w;
    height = h;
    return true;
}

int ParseArguments(const Args& args, std::size_t fileCount,
                   const std::vector<std::string>& accepted, const char* usage,
                   std::vector<std::string>& files, ConvertOptions& options) {
    files.clear();
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && a.size() > 1 && a[0] == '-') {
            if (std::find(accepted.begin(), accepted.end(), a) == accepted.end()) {
                return Fail("unknown option " + a +
                            " (a file name starting with '-' goes after "
                            "'--')\n" +
                            usage);
            }
            if (i + 1 >= args.size()) return Fail(a + " needs a value\n" + usage);
            if (int status = SetOption(a, args[++i], options)) return status;
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != fileCount) return Fail(usage);
    return kExitOk;
}

void WarnUnknownFace(const ConvertOptions& options) {
#if defined(KORVANE_WITH_QT) || defined(KORVANE_QT_MODULE)
    if (options.face == "Velmaro" || FaceInstalled(options.face)) return;
    Fail("warning: no installed font family is called '" + options.face +
         "'; another one stands in ('korvane-cli fonts' lists them)");
#else
    (void)options;
#endif
}

bool OpenPlot(CKorvaneDoc& doc, CliFeedback& feedback, const std::string& path) {
    feedback.Watch(doc);
    try {
        doc.OnOpenDocument(path);
        return true;
    } catch (const FileError& e) {
        Fail(e.what());
        return false;
    }
}

namespace {
bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}
}  // namespace

int RefuseForeignOutput(const std::string& in, const std::string& out, const std::string& magic,
                        const char* kind) {
    if (SameFile(in, out)) {
        return Fail(out + ": the output is the input file itself; it is not written over");
    }
    // Only a regular file's first bytes are looked at; anything else the save refuses itself.
    struct stat st;
    if (::stat(out.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0) return kExitOk;
    std::string head(magic.size(), '\0');
    const int fd = ::open(out.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ssize_t n = -1;
    if (fd >= 0) {
        n = ::read(fd, head.data(), head.size());
        ::close(fd);
    }
    if (n == static_cast<ssize_t>(magic.size()) && head == magic) return kExitOk;
    return Fail(out + ": exists and is not " + kind + "; it is not written over");
}

int RefuseDamagedOverwrite(const CKorvaneDoc& doc, const CliFeedback& feedback,
                           const std::string& in, const std::string& out) {
    if (!feedback.Messages()) return kExitOk;
    // What was read is written, but never over a user's file with nothing in it, and never over
    // the damaged input itself: the records after the bad one would be gone.
    if (doc.Primitives().empty()) {
        Fail(in + ": no record could be read; " + out + " not written");
        return kExitInvalidRecord;
    }
    if (SameFile(in, out)) {
        Fail(in + ": the input is damaged and " + out +
             " is the same file; it is not written over");
        return kExitInvalidRecord;
    }
    return kExitOk;
}
