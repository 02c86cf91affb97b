#pragma once

#include <QString>

#include <optional>

namespace lumipage::pictures
{

// What a picture file is, read from its header only (no pixels are decoded).
struct PictureInfo {
    QString path;
    int width = 0; // pixels as stored (before the EXIF orientation turns them)
    int height = 0;
    qint64 bytes = 0;
    QString format;      // "JPEG", "PNG", "WebP", "GIF", "SVG", "TIFF", …
    int orientation = 1; // EXIF orientation, 1 to 8; 1 when the file has none
    bool gps = false;    // carries a GPS position (EXIF GPS tags or XMP)
    bool animated = false;
    bool alpha = false; // has a transparency channel
    bool svg = false;

    // Whether the orientation turns the picture a quarter, so it stands height × width.
    bool turnedSideways() const { return orientation >= 5 && orientation <= 8; }
    // The size as it stands upright.
    int uprightWidth() const { return turnedSideways() ? height : width; }
    int uprightHeight() const { return turnedSideways() ? width : height; }
};

// A picture's facts, or why it cannot be used (in Japanese, naming the file).
struct Inspection {
    std::optional<PictureInfo> info;
    QString problem;
};

// The most pixels a picture may have: larger ones are refused before any is decoded.
inline constexpr qint64 kMaxPixels = 250'000'000;

// The picture's size upright and its weight as dialogs show them: "4032×3024 ピクセル、
// 3,414 KB".
QString sizeText(const PictureInfo &info);

// Reads the header of the picture at `path`: size, format, orientation, GPS tags, frames.
// A missing file, a file that is not a picture, a damaged header and a picture over
// kMaxPixels give a problem.
Inspection inspectPicture(const QString &path);

// Whether the picture is a graphic of few colours (a logo, a chart, a screenshot) rather
// than a photo: counted on a small copy. Decodes the picture, so it costs more than the
// header; false when it cannot be read.
bool hasFewColours(const QString &path);

} // namespace lumipage::pictures
