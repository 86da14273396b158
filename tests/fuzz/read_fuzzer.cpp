// Feeds arbitrary bytes to the plot reader. Whatever it reads must save, and what it saves must
// read back without complaint into a drawing that saves to the very same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "plot/Archive.h"
#include "plot/KorvaneDoc.h"
#include "support/RecordingFeedback.h"

namespace {
std::string Save(CKorvaneDoc& doc) {
    Archive out = Archive::ToMemory();
    doc.Serialize(out);
    return out.Memory();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RecordingFeedback feedback;
    CKorvaneDoc doc(feedback);
    Archive in = Archive::FromMemory(data, size);
    doc.Serialize(in);
    FuzzCheck(feedback.waitDepth == 0, "wait cursor left on");
    FuzzCheck(feedback.messages.size() <= 1, "more than one message for one read");
    const std::string first = Save(doc);

    RecordingFeedback again;
    CKorvaneDoc reread(again);
    Archive back = Archive::FromMemory(first.data(), first.size());
    reread.Serialize(back);
    FuzzCheck(again.messages.empty(), "a saved drawing reads back with a message");
    FuzzCheck(reread.Primitives().size() == doc.Primitives().size(), "primitive count changed");
    FuzzCheck(Save(reread) == first, "second save differs from the first");
    return 0;
}
