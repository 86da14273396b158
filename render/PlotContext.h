#pragma once

// The plotter state through which primitives draw. Filled in with the rendering work.
class CPlotContext {
public:
    CPlotContext() = default;
};
