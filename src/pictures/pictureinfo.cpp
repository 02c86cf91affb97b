#include "pictures/pictureinfo.h"

#include "pictures/vipsstart.h"

#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSet>

#include <vips/vips8>

#include <algorithm>

namespace lumipage::pictures
{

namespace
{

using vips::VImage;

QString formatOf(const QString &loader)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("jpegload"), QStringLiteral("JPEG")},
        {QStringLiteral("pngload"), QStringLiteral("PNG")},
        {QStringLiteral("webpload"), QStringLiteral("WebP")},
        {QStringLiteral("gifload"), QStringLiteral("GIF")},
        {QStringLiteral("svgload"), QStringLiteral("SVG")},
        {QStringLiteral("tiffload"), QStringLiteral("TIFF")},
        {QStringLiteral("heifload"), QStringLiteral("HEIF")},
    };
    QString base = loader;
    for (const char *suffix : {"_source", "_buffer", "_file"})
        if (base.endsWith(QLatin1String(suffix)))
            base.chop(qstrlen(suffix));
    return names.value(base, base.remove(QLatin1String("load")).toUpper());
}

bool carriesGps(const VImage &image)
{
    gchar **fields = vips_image_get_fields(image.get_image());
    bool gps = false;
    for (gchar **f = fields; *f && !gps; ++f)
        gps = g_str_has_prefix(*f, "exif-ifd3-GPSLatitude") ||
              g_str_has_prefix(*f, "exif-ifd3-GPSLongitude");
    g_strfreev(fields);
    if (!gps && image.get_typeof("xmp-data")) {
        size_t length = 0;
        const void *data = image.get_blob("xmp-data", &length);
        gps = QByteArray::fromRawData(static_cast<const char *>(data), qsizetype(length))
                  .contains("GPSLatitude");
    }
    return gps;
}

QString unreadable(const QString &name)
{
    return QStringLiteral("「%1」は画像として読めません(壊れているか、画像ではないファイルです)。")
        .arg(name);
}

} // namespace

QString sizeText(const PictureInfo &info)
{
    return QStringLiteral("%1×%2 ピクセル、%3 KB")
        .arg(info.uprightWidth())
        .arg(info.uprightHeight())
        .arg(QLocale(QLocale::Japanese).toString((info.bytes + 1023) / 1024));
}

Inspection inspectPicture(const QString &path)
{
    startVips();
    const QFileInfo file(path);
    const QString name = file.fileName();
    if (!file.isFile())
        return {std::nullopt, QStringLiteral("画像ファイル「%1」がありません。").arg(path)};
    PictureInfo info;
    info.path = file.absoluteFilePath();
    info.bytes = file.size();
    try {
        // Opening reads the header; pixels would be decoded only when asked for.
        const VImage image =
            VImage::new_from_file(QFile::encodeName(info.path).constData(),
                                  VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL));
        info.width = image.width();
        info.height = image.height();
        info.format = formatOf(QString::fromUtf8(image.get_string("vips-loader")));
        info.svg = info.format == QLatin1String("SVG");
        if (image.get_typeof("orientation"))
            info.orientation = std::clamp(image.get_int("orientation"), 1, 8);
        info.animated =
            image.get_typeof("n-pages") && image.get_int("n-pages") > 1 &&
            (info.format == QLatin1String("GIF") || info.format == QLatin1String("WebP"));
        info.alpha = image.has_alpha();
        info.gps = carriesGps(image);
    } catch (const vips::VError &) {
        takeVipsError();
        return {std::nullopt, unreadable(name)};
    }
    if (qint64(info.width) * info.height > kMaxPixels)
        return {
            std::nullopt,
            QStringLiteral("「%1」は %2×%3 ピクセルあり、大きすぎて扱えません(%4 ピクセルまで)。")
                .arg(name)
                .arg(info.width)
                .arg(info.height)
                .arg(QLocale(QLocale::Japanese).toString(kMaxPixels))};
    return {info, {}};
}

bool hasFewColours(const QString &path)
{
    startVips();
    try {
        // Shrunk to 256 pixels, a photo has tens of thousands of colours; a graphic keeps
        // its few flat ones and the blends along their edges.
        VImage small = VImage::thumbnail(QFile::encodeName(path).constData(), 256,
                                         VImage::option()->set("size", VIPS_SIZE_DOWN));
        if (small.has_alpha())
            small = small.flatten();
        small = small.colourspace(VIPS_INTERPRETATION_sRGB).cast(VIPS_FORMAT_UCHAR);
        if (small.bands() == 1)
            small = small.bandjoin(small).bandjoin(small);
        size_t size = 0;
        auto *pixels = static_cast<unsigned char *>(small.write_to_memory(&size));
        QSet<quint32> colours;
        const int bands = small.bands();
        for (size_t i = 0; i + 2 < size && colours.size() <= 2048; i += bands)
            colours.insert(quint32(pixels[i]) << 16 | quint32(pixels[i + 1]) << 8 | pixels[i + 2]);
        g_free(pixels);
        return colours.size() <= 2048;
    } catch (const vips::VError &) {
        takeVipsError();
        return false;
    }
}

} // namespace lumipage::pictures
