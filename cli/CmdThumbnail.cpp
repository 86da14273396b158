#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "cli/Arguments.h"
#include "cli/CliFeedback.h"
#include "cli/Commands.h"
#include "cli/Converters.h"
#include "plot/FileError.h"
#include "plot/KorvaneDoc.h"
#include "view/FirstView.h"

namespace {
const char* kThumbnailUsage = "usage: korvane-cli thumbnail IN OUT.png SIZE";
const int kMaxSize = 16384;
// A drawing far longer than wide still gets a picture a file manager can show.
const double kMaxAspect = 16;
// File managers run the thumbnailer on whatever they meet, so only the records that start in
// the input's first megabyte are read and drawn: the costliest per byte (numbers of 32767
// decimals) then take about 2 s of processor time and a few megabytes beyond Qt's own, far
// within 5 s and 256 MB (bench/thumbnail_bound.sh).
const std::uint64_t kReadLimit = 1 << 20;

// The picture size whose longer side is size and whose proportions are the drawing's, as a new
// view measures it.
void FitSize(const CKorvaneDoc& doc, int size, ConvertOptions& options) {
    options.width = options.height = size;
    FirstView measure(doc, size, size);
    const double width = measure.m_view.Context().GetMaxX();
    const double height = measure.m_view.Context().GetMaxY();
    if (width <= 0 && height <= 0) return;  // nothing drawn: a blank square
    const double ratio =
        std::clamp(std::min(width, height) / std::max(width, height), 1 / kMaxAspect, 1.0);
    const int shorter = std::max(1, static_cast<int>(std::lround(size * ratio)));
    (width >= height ? options.height : options.width) = shorter;
}
}  // namespace

int RunThumbnail(const Args& args) {
    std::vector<std::string> files;
    ConvertOptions options;
    if (int status = ParseArguments(args, 3, {}, kThumbnailUsage, files, options)) return status;
    const std::string& in = files[0];
    const std::string& out = files[1];
    int size = 0;
    if (!ParseWhole(files[2], 1, kMaxSize, size)) {
        return Fail("SIZE takes a whole number of pixels from 1 to " + std::to_string(kMaxSize) +
                    "\n" + kThumbnailUsage);
    }
    // File managers make OUT before they call us; anything else there is not ours to replace.
    if (int status = RefuseForeignOutput(in, out, "\x89PNG\r\n\x1a\n", "a PNG picture")) {
        return status;
    }
    CliFeedback feedback(in);
    CKorvaneDoc doc(feedback);
    doc.SetReadLimit(kReadLimit);
    if (!OpenPlot(doc, feedback, in)) return kExitFailure;
    if (doc.IsReadLimited()) {
        Fail(in + ": note: the thumbnail shows the records of its first " +
             std::to_string(kReadLimit) + " bytes only");
    }
    if (int status = RefuseDamagedOverwrite(doc, feedback, in, out)) return status;
    FitSize(doc, size, options);
    try {
        if (int status = ConvertPng(doc, out, options)) return status;
    } catch (const FileError& e) {
        return Fail(e.what());
    }
    return feedback.Messages() ? kExitInvalidRecord : kExitOk;
}
