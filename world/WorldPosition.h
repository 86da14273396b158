#pragma once

#include <optional>
#include <string>

#include "world/PaperToWorld.h"

// The viewer's world-position pane for the pointer at plot inches (x, y): "E <easting>
// N <northing> <unit>", with " H <elevation>" where the plane is tilted, three decimals whatever
// the locale. Empty, and the pane hidden, without a scaled transform.
std::string WorldPositionText(const std::optional<PaperToWorld>& world, double x, double y);
