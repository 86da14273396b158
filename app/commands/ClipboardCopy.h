#pragma once

#include <functional>
#include <memory>

class PlotView;
class PrimitiveList;
class QMimeData;

// The clipboard copy of a view of the given client size: its copy pass (unclipped, pens of
// width 0) as a scalable SVG picture (image/svg+xml) and the same picture as an image for
// programs that take only images. An empty drawing gives an empty picture. stop, asked now and
// then, ends the copy early with no picture (null).
std::unique_ptr<QMimeData> CopyPicture(PlotView& view, const PrimitiveList& primitives,
                                       int clientWidth, int clientHeight,
                                       const std::function<bool()>& stop = {});
