#include "pictures/webcopy.h"

#include "pictures/pictureinfo.h"
#include "pictures/vipsstart.h"
#include "document/atomicfile.h"

#include <QDir>
#include <QFileInfo>

#include <vips/vips8>

#include <cerrno>

namespace lumipage::pictures
{

namespace
{

using vips::VImage;

// Tags that may tell who took a picture, where and with what; the colour profile
// ("icc-profile-data") stays, so colours look the same.
bool isPersonal(const char *field)
{
    for (const char *prefix : {"exif-", "xmp-data", "iptc-data", "png-comment-", "gif-comment",
                               "jpeg-thumbnail-data", "magick-"})
        if (g_str_has_prefix(field, prefix))
            return true;
    return false;
}

void removePersonal(VImage &image)
{
    gchar **fields = vips_image_get_fields(image.get_image());
    for (gchar **f = fields; *f; ++f)
        if (isPersonal(*f))
            image.remove(*f);
    g_strfreev(fields);
}

QByteArray encode(VImage image, const WebCopyRequest &request)
{
    const int quality = std::clamp(request.quality, 1, 100);
    void *buffer = nullptr;
    size_t size = 0;
    switch (request.format) {
    case WebFormat::Jpeg:
        if (image.has_alpha()) // JPEG has no transparency: laid on white, as a page shows it
            image = image.flatten(VImage::option()->set("background", std::vector<double>{255}));
        image.write_to_buffer(".jpg", &buffer, &size,
                              VImage::option()->set("Q", quality)->set("optimize_coding", true));
        break;
    case WebFormat::Png:
        image.write_to_buffer(".png", &buffer, &size, VImage::option()->set("compression", 9));
        break;
    case WebFormat::Webp:
        image.write_to_buffer(".webp", &buffer, &size, VImage::option()->set("Q", quality));
        break;
    }
    QByteArray bytes(static_cast<const char *>(buffer), qsizetype(size));
    g_free(buffer);
    return bytes;
}

WebCopyResult refused(const QString &problem)
{
    WebCopyResult result;
    result.problem = problem;
    return result;
}

} // namespace

QString suffixOf(WebFormat format)
{
    switch (format) {
    case WebFormat::Jpeg:
        return QStringLiteral("jpg");
    case WebFormat::Png:
        return QStringLiteral("png");
    case WebFormat::Webp:
        return QStringLiteral("webp");
    }
    return {};
}

QString freeCopyName(const QString &source, const QString &folder, int width, WebFormat format)
{
    const QString stem =
        QStringLiteral("%1-%2").arg(QFileInfo(source).completeBaseName()).arg(width);
    const QDir dir(folder);
    QString name = stem + QLatin1Char('.') + suffixOf(format);
    for (int n = 2;
         QFileInfo::exists(dir.filePath(name)) || QFileInfo(dir.filePath(name)).isSymLink(); ++n)
        name = QStringLiteral("%1-%2.%3").arg(stem).arg(n).arg(suffixOf(format));
    return dir.filePath(name);
}

WebCopyResult makeWebCopy(const WebCopyRequest &request)
{
    const Inspection inspection = inspectPicture(request.source);
    if (!inspection.info)
        return refused(inspection.problem);
    const PictureInfo &info = *inspection.info;
    const QString name = QFileInfo(request.source).fileName();
    const int width = std::clamp(request.width, 1, info.uprightWidth());
    QByteArray bytes;
    WebCopyResult result;
    try {
        // Shrunk while it is read (a JPEG decodes at 1/2, 1/4 or 1/8 straight away),
        // turned upright by its orientation, which is then gone from the tags.
        VImage image = VImage::thumbnail(QFile::encodeName(info.path).constData(), width,
                                         VImage::option()
                                             ->set("height", 10'000'000)
                                             ->set("size", VIPS_SIZE_DOWN)
                                             ->set("fail_on", VIPS_FAIL_ON_TRUNCATED));
        image = image.copy(); // tags are changed on a copy of our own
        if (request.stripPersonal) {
            removePersonal(image);
            image.remove("orientation");
        } else {
            image.set("orientation", 1);
        }
        bytes = encode(image, request);
        result.width = image.width();
        result.height = image.height();
    } catch (const vips::VError &) {
        takeVipsError();
        return refused(
            QStringLiteral("「%1」を読み切れませんでした(途中で切れているか壊れています)。"
                           "Web用の画像は作っていません。")
                .arg(name));
    }
    // A name taken between the choice and the write makes the next one be chosen.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = freeCopyName(info.path, request.folder, width, request.format);
        const atomicfile::Result written = atomicfile::writeNew(path, bytes);
        if (written.ok) {
            result.path = path;
            result.bytes = bytes.size();
            return result;
        }
        if (written.errnum != EEXIST)
            return refused(QStringLiteral("「%1」を書き込めません: %2")
                               .arg(QDir::toNativeSeparators(path), written.systemText));
    }
    return refused(QStringLiteral("「%1」のWeb用の画像の名前が決まりません。").arg(name));
}

} // namespace lumipage::pictures
