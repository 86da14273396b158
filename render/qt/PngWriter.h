#pragma once

#include <string>

class QImage;

// PNG bytes of an opaque picture, encoded for speed: bands of rows are filtered and compressed
// on all cores, their pieces joined into one zlib stream.
// A picture of at most 256 colours (every picture drawn without antialiasing, most line
// drawings) is written with a palette, one byte a pixel and no row filter; any other as 8-bit
// RGB rows, each filtered against its left neighbour, which turns the long runs of background
// and of level lines into zeros. Either way the file decodes to exactly the image's pixels.
// A picture of more than 8 M pixels goes through Qt's row-by-row encoder instead, keeping its
// memory near the image's own. A thread that cannot start leaves its bands to the others.
// The image must be Format_RGB32; an empty string means the encoder could not get memory.
std::string EncodePng(const QImage& image);
