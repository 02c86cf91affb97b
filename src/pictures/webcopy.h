#pragma once

#include <QString>

namespace lumipage::pictures
{

// The file formats a web copy is written in.
enum class WebFormat { Jpeg, Png, Webp };

// The name ending of a format ("jpg", "png", "webp").
QString suffixOf(WebFormat format);

// One web copy to make.
struct WebCopyRequest {
    QString source;   // the picture; never written
    QString folder;   // where the copy goes
    int width = 1600; // wanted width upright; never above the picture's own
    WebFormat format = WebFormat::Jpeg;
    int quality = 82;          // 1–100, for JPEG and WebP
    bool stripPersonal = true; // EXIF, XMP and IPTC removed; the colour profile kept
};

// A web copy made, or why none was.
struct WebCopyResult {
    QString path; // the copy written; empty on failure
    int width = 0;
    int height = 0;
    qint64 bytes = 0;
    QString problem; // in Japanese; empty on success
};

// The first free name in `folder` for a copy of `source` `width` pixels wide:
// "photo-1600.jpg", else "photo-1600-2.jpg", … A name any file holds is never chosen.
QString freeCopyName(const QString &source, const QString &folder, int width, WebFormat format);

// Makes the copy: the picture shrunk as it is read (never enlarged), turned upright by
// its orientation, personal tags removed when asked, encoded and written under a free
// name, atomically and never over an existing file. Damaged, truncated and oversized
// pictures and files that are not pictures are refused with nothing written.
WebCopyResult makeWebCopy(const WebCopyRequest &request);

} // namespace lumipage::pictures
