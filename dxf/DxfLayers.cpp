#include "dxf/DxfLayers.h"

#include <cstdio>
#include <cstring>

std::string LayerNameProblem(const std::string (&names)[8]) {
    static const char kRefused[] = "<>/\\\":;?*|=`";
    for (int pen = 1; pen <= 8; ++pen) {
        for (char ch : names[pen - 1]) {
            const auto c = static_cast<unsigned char>(ch);
            char what[48];
            if (c < 32 || c == 127) {
                std::snprintf(what, sizeof what, "the control character 0x%02X", c);
            } else if (std::strchr(kRefused, ch)) {
                std::snprintf(what, sizeof what, "the character '%c'", ch);
            } else {
                continue;
            }
            return "DXF export refused: the layer name of pen " + std::to_string(pen) + " holds " +
                   what + ", which DXF readers do not accept in a layer name";
        }
    }
    return "";
}

std::string LayerColorWarning(const int (&colors)[8]) {
    std::string pens;
    for (int pen = 1; pen <= 8; ++pen) {
        const int color = colors[pen - 1];
        if (color >= 0 && color <= 256) continue;
        pens += std::string(pens.empty() ? "" : ", ") + "pen " + std::to_string(pen) + ": " +
                std::to_string(color);
    }
    if (pens.empty()) return "";
    return "colours outside 0..256 (" + pens +
           ") are written as given; DXF readers draw them in black";
}
