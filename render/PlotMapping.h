#pragma once

// Where a pass maps resolution units to logical ones: the view's lower-left corner (offsetX,
// offsetY) in resolution units and the zoom divisor; taken once per pass.
struct PlotMapping {
    float offsetX;
    float offsetY;
    double divisor;
};
