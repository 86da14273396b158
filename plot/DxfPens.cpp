#include "plot/DxfPens.h"

int DxfPenOfRgb(std::int16_t r, std::int16_t g, std::int16_t b) {
    struct PenColor {
        std::int16_t r, g, b;
        int pen;
    };
    static const PenColor kPens[] = {{255, 0, 0, 2},   {255, 255, 0, 3}, {0, 255, 0, 4},
                                     {0, 255, 255, 5}, {0, 0, 255, 6},   {255, 0, 255, 7}};
    for (const PenColor& p : kPens) {
        if (p.r == r && p.g == g && p.b == b) return p.pen;
    }
    return 1;
}
