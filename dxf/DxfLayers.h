#pragma once

#include <string>

// Checks of the per-pen layer settings, shared by the export dialog, the writer and
// korvane-cli. Index i of each array is pen i + 1.

// Why a DXF reader would refuse one of the eight layer names (a control byte, or one of
// < > / \ " : ; ? * | = `): the message that refuses the export, naming the first such pen and
// character, as korvane-cli prints it and the export dialog shows it; empty when all are fine.
std::string LayerNameProblem(const std::string (&names)[8]);

// A one-line warning about colours outside 0..256, which are written as given (readers draw
// them in black), naming every such pen; empty when all are in range.
std::string LayerColorWarning(const int (&colors)[8]);
