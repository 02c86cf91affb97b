// The pictures library on real files made here: phone-sized photos with EXIF orientation
// and GPS tags written by exiftool, damaged, truncated and oversized files.
// vips comes first: glib names a field `signals`, which Qt's keyword macro would rewrite.
#include <vips/vips8>

#include "pictures/pictureinfo.h"
#include "pictures/webcopy.h"
#include "pictures/webcopyjob.h"
#include "pictures/websuggestion.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFutureWatcher>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace lumipage::pictures;
using vips::VImage;

namespace
{

// A photo-like picture: colour gradients under fine grain, as a camera gives.
void writePhoto(const QString &path, int width, int height)
{
    const VImage xy = VImage::xyz(width, height);
    const VImage x = xy[0], y = xy[1];
    const VImage rgb =
        (x * (255.0 / width))
            .bandjoin(y * (255.0 / height))
            .bandjoin((x + y) * (200.0 / (width + height)) + 30) +
        VImage::gaussnoise(width, height, VImage::option()->set("sigma", 5.0)->set("mean", 0.0));
    rgb.cast(VIPS_FORMAT_UCHAR)
        .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
        .write_to_file(path.toUtf8().constData(),
                       VImage::option()->set("Q", 92)->set("profile", "srgb"));
}

// The tags exiftool reads in a file, by name.
QJsonObject exifTags(const QString &path)
{
    QProcess exiftool;
    exiftool.start(QStringLiteral("exiftool"), {QStringLiteral("-n"), QStringLiteral("-j"), path});
    if (!exiftool.waitForFinished(20000) || exiftool.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(exiftool.readAllStandardOutput()).array().first().toObject();
}

bool tagPhone(const QString &path)
{
    return QProcess::execute(
               QStringLiteral("exiftool"),
               {QStringLiteral("-q"), QStringLiteral("-overwrite_original"), QStringLiteral("-n"),
                QStringLiteral("-Orientation=6"), QStringLiteral("-GPSLatitude=35.6586"),
                QStringLiteral("-GPSLatitudeRef=N"), QStringLiteral("-GPSLongitude=139.7454"),
                QStringLiteral("-GPSLongitudeRef=E"), QStringLiteral("-Make=Phone"), path}) == 0;
}

// Peak signal-to-noise ratio of `copy` against `reference`, same size, in dB.
double psnr(const VImage &copy, const VImage &reference)
{
    const VImage difference = copy.cast(VIPS_FORMAT_FLOAT) - reference.cast(VIPS_FORMAT_FLOAT);
    const double mse = (difference * difference).avg();
    return 10 * std::log10(255.0 * 255.0 / std::max(mse, 1e-9));
}

QByteArray hashOf(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void phonePhotoBecomesSmallUprightAndPlaceless_data();
    void phonePhotoBecomesSmallUprightAndPlaceless();
    void copiesNeverTakeAnotherFilesName();
    void badFilesAreRefusedWithNothingWritten_data();
    void badFilesAreRefusedWithNothingWritten();
    void suggestion_data();
    void suggestion();
    void cancelStopsBetweenCopies();

private:
    QTemporaryDir m_dir;
    QString m_photo;
};

void TestPictures::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_photo = m_dir.filePath(QStringLiteral("photo.jpg"));
    writePhoto(m_photo, 4032, 3024);
    QVERIFY(tagPhone(m_photo));
    const Inspection inspection = inspectPicture(m_photo);
    QVERIFY2(inspection.info, qPrintable(inspection.problem));
    QCOMPARE(inspection.info->width, 4032);
    QCOMPARE(inspection.info->height, 3024);
    QCOMPARE(inspection.info->format, QStringLiteral("JPEG"));
    QCOMPARE(inspection.info->orientation, 6);
    QVERIFY(inspection.info->gps);
    QVERIFY(!inspection.info->animated && !inspection.info->svg);
}

void TestPictures::phonePhotoBecomesSmallUprightAndPlaceless_data()
{
    QTest::addColumn<WebFormat>("format");
    QTest::addColumn<bool>("strip");
    QTest::newRow("JPEG, tags removed") << WebFormat::Jpeg << true;
    QTest::newRow("WebP, tags removed") << WebFormat::Webp << true;
    QTest::newRow("JPEG, tags kept") << WebFormat::Jpeg << false;
}

void TestPictures::phonePhotoBecomesSmallUprightAndPlaceless()
{
    QFETCH(WebFormat, format);
    QFETCH(bool, strip);
    const QByteArray before = hashOf(m_photo);
    QTemporaryDir out;
    const WebCopyResult copy =
        makeWebCopy({m_photo, out.path(), 1600, format, defaultQuality(format), strip});
    QVERIFY2(copy.problem.isEmpty(), qPrintable(copy.problem));
    QCOMPARE(QFileInfo(copy.path).fileName(), QStringLiteral("photo-1600.") + suffixOf(format));
    // Turned a quarter by its orientation: 3024 wide upright, so 1600 × 2133.
    QCOMPARE(copy.width, 1600);
    QCOMPARE(copy.height, 2133);
    QCOMPARE(copy.bytes, QFileInfo(copy.path).size());
    QVERIFY2(copy.bytes <= QFileInfo(m_photo).size() * 40 / 100,
             qPrintable(
                 QStringLiteral("%1 of %2 bytes").arg(copy.bytes).arg(QFileInfo(m_photo).size())));
    const VImage reference = VImage::thumbnail(m_photo.toUtf8().constData(), 1600,
                                               VImage::option()->set("height", 10000000));
    const VImage written = VImage::new_from_file(copy.path.toUtf8().constData());
    QCOMPARE(written.width(), reference.width());
    const double db = psnr(written, reference);
    qInfo("%s: %lld of %lld bytes, PSNR %.1f dB", QTest::currentDataTag(), copy.bytes,
          QFileInfo(m_photo).size(), db);
    QVERIFY2(db >= 35, qPrintable(QStringLiteral("PSNR %1 dB").arg(db)));
    // The colour profile stays either way.
    QVERIFY(written.get_typeof("icc-profile-data"));

    const QJsonObject tags = exifTags(copy.path);
    QVERIFY(!tags.isEmpty());
    QCOMPARE(tags.value(QStringLiteral("ImageWidth")).toInt(), 1600);
    QCOMPARE(tags.value(QStringLiteral("Orientation")).toInt(1), 1);
    QCOMPARE(tags.contains(QStringLiteral("GPSLatitude")), !strip);
    QCOMPARE(tags.contains(QStringLiteral("Make")), !strip);
    QCOMPARE(hashOf(m_photo), before);
}

void TestPictures::copiesNeverTakeAnotherFilesName()
{
    QTemporaryDir out;
    const QString taken = out.filePath(QStringLiteral("photo-800.jpg"));
    QFile file(taken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("someone else's");
    file.close();
    const WebCopyResult first = makeWebCopy({m_photo, out.path(), 800});
    const WebCopyResult second = makeWebCopy({m_photo, out.path(), 800});
    QCOMPARE(QFileInfo(first.path).fileName(), QStringLiteral("photo-800-2.jpg"));
    QCOMPARE(QFileInfo(second.path).fileName(), QStringLiteral("photo-800-3.jpg"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("someone else's"));
    // Asked wider than it is, the copy keeps the picture's own width.
    const WebCopyResult wide = makeWebCopy({m_photo, out.path(), 5000});
    QCOMPARE(wide.width, 3024);
    QCOMPARE(QFileInfo(wide.path).fileName(), QStringLiteral("photo-3024.jpg"));
}

void TestPictures::badFilesAreRefusedWithNothingWritten_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("headerReads");
    QTest::addColumn<QString>("message");

    QFile photo(m_photo);
    QVERIFY(photo.open(QIODevice::ReadOnly));
    const QByteArray jpeg = photo.readAll();
    // A small JPEG whose frame header claims 30,000 × 30,000 pixels.
    QByteArray huge;
    {
        void *buffer = nullptr;
        size_t size = 0;
        VImage::black(16, 16).write_to_buffer(".jpg", &buffer, &size);
        huge = QByteArray(static_cast<const char *>(buffer), qsizetype(size));
        g_free(buffer);
        const qsizetype frame = huge.indexOf("\xFF\xC0");
        QVERIFY(frame > 0);
        huge[frame + 5] = char(30000 >> 8);
        huge[frame + 6] = char(30000 & 0xFF);
        huge[frame + 7] = char(30000 >> 8);
        huge[frame + 8] = char(30000 & 0xFF);
    }
    QTest::newRow("not a picture") << QByteArray("<html>not a picture</html>\n") << false
                                   << QStringLiteral("「bad.jpg」は画像として読めません");
    QTest::newRow("damaged header") << QByteArray("\xFF\xD8\xFF\xE0garbage", 11) << false
                                    << QStringLiteral("「bad.jpg」は画像として読めません");
    QTest::newRow("truncated") << jpeg.left(jpeg.size() / 3) << true
                               << QStringLiteral("「bad.jpg」を読み切れませんでした");
    QTest::newRow("30000 × 30000")
        << huge << false
        << QStringLiteral("「bad.jpg」は 30000×30000 ピクセルあり、"
                          "大きすぎて扱えません(250,000,000 ピクセルまで)。");
}

void TestPictures::badFilesAreRefusedWithNothingWritten()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, headerReads);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.jpg"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    const Inspection inspection = inspectPicture(path);
    QCOMPARE(bool(inspection.info), headerReads);
    const WebCopyResult copy = makeWebCopy({path, dir.path(), 800});
    QVERIFY(copy.path.isEmpty());
    QVERIFY2(copy.problem.startsWith(message), qPrintable(copy.problem));
    if (!headerReads)
        QCOMPARE(inspection.problem, copy.problem);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"bad.jpg"});
}

void TestPictures::suggestion_data()
{
    QTest::addColumn<PictureInfo>("info");
    QTest::addColumn<int>("shown");
    QTest::addColumn<bool>("fewColours");
    QTest::addColumn<bool>("offer");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("shownHeight");
    QTest::addColumn<WebFormat>("format");

    const auto picture = [](int width, int height, qint64 kb, const char *format) {
        PictureInfo info;
        info.width = width;
        info.height = height;
        info.bytes = kb * 1024;
        info.format = QLatin1String(format);
        info.svg = info.format == QLatin1String("SVG");
        return info;
    };
    PictureInfo phone = picture(4032, 3024, 4000, "JPEG");
    phone.orientation = 6;
    PictureInfo animation = picture(2000, 1000, 3000, "GIF");
    animation.animated = true;
    PictureInfo logo = picture(1800, 600, 90, "PNG");
    logo.alpha = true;
    QTest::newRow("phone photo, not yet shown")
        << phone << 0 << false << true << 1600 << 1067 << WebFormat::Jpeg;
    QTest::newRow("shown 400 wide")
        << phone << 400 << false << true << 800 << 533 << WebFormat::Jpeg;
    QTest::newRow("small and light")
        << picture(1200, 800, 300, "JPEG") << 0 << false << false << 1200 << 533 << WebFormat::Jpeg;
    QTest::newRow("narrow but heavy") << picture(1000, 1000, 700, "PNG") << 500 << false << true
                                      << 1000 << 500 << WebFormat::Jpeg;
    QTest::newRow("graphic of few colours")
        << picture(2400, 1200, 200, "PNG") << 0 << true << true << 1600 << 400 << WebFormat::Png;
    QTest::newRow("transparent logo")
        << logo << 300 << false << true << 600 << 100 << WebFormat::Png;
    QTest::newRow("animation") << animation << 0 << false << false << 1600 << 400
                               << WebFormat::Jpeg;
    QTest::newRow("SVG") << picture(4000, 4000, 900, "SVG") << 0 << true << false << 1600 << 800
                         << WebFormat::Png;
}

void TestPictures::suggestion()
{
    QFETCH(PictureInfo, info);
    QFETCH(int, shown);
    QFETCH(bool, fewColours);
    const WebCopySuggestion s = suggestWebCopy(info, shown, fewColours);
    QTEST(s.offer, "offer");
    QTEST(s.width, "width");
    QTEST(s.shownHeight, "shownHeight");
    QTEST(s.format, "format");
}

void TestPictures::cancelStopsBetweenCopies()
{
    QTemporaryDir out;
    const QList<WebCopyRequest> requests(6, WebCopyRequest{m_photo, out.path(), 1200});
    QFutureWatcher<WebCopyResult> watcher;
    QSignalSpy finished(&watcher, &QFutureWatcher<WebCopyResult>::finished);
    connect(&watcher, &QFutureWatcher<WebCopyResult>::resultReadyAt, &watcher,
            [&watcher] { watcher.cancel(); });
    watcher.setFuture(makeWebCopies(requests));
    QVERIFY(finished.wait(30000));
    const int written = int(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size());
    QVERIFY2(written >= 1 && written < 6, qPrintable(QString::number(written)));
}

QTEST_GUILESS_MAIN(TestPictures)
#include "tst_pictures.moc"
