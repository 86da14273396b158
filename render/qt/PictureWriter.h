#pragma once

#include <functional>
#include <string>

class QByteArray;
class QPainter;

// Draws a picture of width x height pixels on the painter; polylines asks the surface to join
// lines into paths (vector outputs), as the screen does not.
using PicturePainter = std::function<void(QPainter& painter, bool polylines)>;

// The picture outputs that korvane-cli convert and the viewer's export share. Each replaces out
// only once the whole picture is written (file errors are thrown as FileError) and returns an
// empty string, or what went wrong before anything was written.
// antialias off draws hard pixels, which also lets the PNG use a palette. With threads above one
// the picture is painted in horizontal bands on up to that many threads, each band an image and
// a painter of its own translated to the band's rows: paint is then called once per band, at
// the same time from several threads, and must draw the whole picture each time.
std::string WritePng(const std::string& out, int width, int height, const PicturePainter& paint,
                     bool antialias = true, int threads = 1);
// title: the SVG document's title, the drawing's file name.
std::string WriteSvg(const std::string& out, int width, int height, const std::string& title,
                     const PicturePainter& paint);
// One page the picture's size at 96 pixels to the inch.
std::string WritePdf(const std::string& out, int width, int height, const PicturePainter& paint);

// Replaces out with bytes only once they are complete; file errors are thrown as FileError.
void Store(const std::string& out, const QByteArray& bytes);
