#pragma once

#include <QImage>
#include <functional>
#include <string>

class DrawSurface;
class QByteArray;
class QPainter;

// Draws a picture of width x height pixels on the painter; polylines asks the surface to join
// lines into paths (vector outputs), as the screen does not.
using PicturePainter = std::function<void(QPainter& painter, bool polylines)>;

// The picture outputs that korvane-cli convert and the viewer's export share. Each replaces out
// only once the whole picture is written (file errors are thrown as FileError) and returns an
// empty string, or what went wrong before anything was written.
// Draws the picture, once, on a surface whose device is width x height pixels.
using SurfacePainter = std::function<void(DrawSurface& surface)>;
// A PNG painted in horizontal bands, each band a painter of its own on a thread of its own (up
// to threads of them): paint runs on the calling thread meanwhile, and the bands play its calls
// as they come. The pixels are those of one painter over the whole picture. antialias off draws
// hard pixels, which also lets the PNG use a palette.
std::string WritePng(const std::string& out, int width, int height, const SurfacePainter& paint,
                     bool antialias, int threads);
// Paints image (RGB32) white and then the picture, in bands on up to threads threads while paint
// records its calls on this one. What paint throws is thrown once the bands have stopped.
void PaintInBands(QImage& image, bool antialias, const SurfacePainter& paint, int threads);
// An image of 32-bit pixels for a picture, unfilled, in huge pages where the system has them
// (4 KB pages would each cost a fault); a null image when there is no memory for it.
QImage PictureImage(int width, int height, QImage::Format format = QImage::Format_RGB32);
// How many band threads: every core, or all but one where a window must stay answering.
int BandThreads(bool keepOneCore);
// title: the SVG document's title, the drawing's file name.
std::string WriteSvg(const std::string& out, int width, int height, const std::string& title,
                     const PicturePainter& paint);
// One page the picture's size at 96 pixels to the inch.
std::string WritePdf(const std::string& out, int width, int height, const PicturePainter& paint);

// Replaces out with bytes only once they are complete; file errors are thrown as FileError.
void Store(const std::string& out, const QByteArray& bytes);
