#include "world/WorldPosition.h"

#include "plot/NumberText.h"

namespace {
void AppendFixed(std::string& text, double value) {
    char number[kMaxFixed];
    text.append(number, FormatFixed(number, value, 0, 3));
}
}  // namespace

std::string WorldPositionText(const std::optional<PaperToWorld>& world, double x, double y) {
    if (!world || !world->IsScaled()) return std::string();
    const WorldPoint p = world->Apply(x, y);
    std::string text = "E ";
    AppendFixed(text, p.e);
    text += " N ";
    AppendFixed(text, p.n);
    text += ' ';
    text += world->Unit();
    if (world->IsTilted()) {
        text += " H ";
        AppendFixed(text, p.h);
    }
    return text;
}
