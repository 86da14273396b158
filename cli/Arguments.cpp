#include "cli/Arguments.h"

#include <algorithm>
#include <cstdio>

#include "plot/FileError.h"
#include "plot/KorvaneDoc.h"

namespace {
int SetOption(const std::string& name, const std::string& value, ConvertOptions& options) {
    if (name == "--size") {
        if (!ParseSize(value, options.width, options.height)) {
            return Fail("--size takes WxH, for example 1000x800");
        }
    } else if (name == "--face") {
        if (value.empty()) return Fail("--face takes a font name");
        options.face = value;
    } else if (name == "--line-width") {
        int width = 0;
        char tail = 0;
        if (std::sscanf(value.c_str(), "%d%c", &width, &tail) != 1 || width < 0 || width > 1000) {
            return Fail("--line-width takes a whole number from 0 to 1000");
        }
        options.lineWidth = width;
    } else if (name == "--antialias") {
        if (value != "on" && value != "off") return Fail("--antialias takes on or off");
        options.antialias = value == "on";
    } else {
        options.config = value;
    }
    return kExitOk;
}
}  // namespace

int ParseArguments(const Args& args, std::size_t fileCount,
                   const std::vector<std::string>& accepted, const char* usage,
                   std::vector<std::string>& files, ConvertOptions& options) {
    files.clear();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-') {
            if (std::find(accepted.begin(), accepted.end(), a) == accepted.end()) {
                return Fail("unknown option " + a + "\n" + usage);
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

bool OpenPlot(CKorvaneDoc& doc, const std::string& path) {
    try {
        doc.OnOpenDocument(path);
        return true;
    } catch (const FileError& e) {
        Fail(e.what());
        return false;
    }
}
