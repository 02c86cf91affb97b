// The web copy against the `vipsthumbnail` command: a 20-megapixel JPEG made into a
// 1,600 px wide copy, each side a process of its own, alternately, timed from start to
// exit with its peak memory (the kernel's maximum resident set of the process).
//   lumipage-webcopy-bench [PAIRS]          prints one JSON row
//   lumipage-webcopy-bench --copy SRC DIR   (a trial of our side: makes one copy)
#include <vips/vips8>

#include "pictures/webcopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{

struct Trial {
    double ms = 0;
    double peakMb = 0;
};

// Runs `argv` to its end; false when it could not run or failed.
bool run(const std::vector<std::string> &argv, Trial &trial)
{
    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    QElapsedTimer clock;
    clock.start();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid)
        return false;
    trial.ms = clock.nsecsElapsed() / 1e6;
    trial.peakMb = usage.ru_maxrss / 1024.0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A photo-like 20-megapixel JPEG (5472 × 3648): gradients under fine grain.
void writePhoto(const QString &path)
{
    using vips::VImage;
    const int width = 5472, height = 3648;
    const VImage xy = VImage::xyz(width, height);
    const VImage rgb =
        (xy[0] * (255.0 / width)).bandjoin(xy[1] * (255.0 / height)).bandjoin(xy[0] * 0 + 90) +
        VImage::gaussnoise(width, height, VImage::option()->set("sigma", 5.0)->set("mean", 0.0));
    rgb.cast(VIPS_FORMAT_UCHAR)
        .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
        .write_to_file(path.toUtf8().constData(), VImage::option()->set("Q", 92));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && QByteArray(argv[1]) == "--copy") {
        QCoreApplication app(argc, argv);
        const lumipage::pictures::WebCopyResult copy = lumipage::pictures::makeWebCopy(
            {QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), 1600});
        return copy.problem.isEmpty() ? 0 : 1;
    }
    const int pairs = argc > 1 ? std::max(3, atoi(argv[1])) : 9;
    if (VIPS_INIT(argv[0]) != 0)
        return 2;
    QTemporaryDir dir;
    const QString photo = dir.filePath(QStringLiteral("photo.jpg"));
    writePhoto(photo);
    const std::string self = QFile::encodeName(QString::fromLocal8Bit(argv[0])).toStdString();
    std::vector<double> ours, theirs, oursMb, theirsMb, ratios;
    for (int i = 0; i <= pairs; ++i) { // the first pair warms the disk cache, untimed
        const QString out = dir.filePath(QString::number(i));
        QDir().mkpath(out);
        Trial a, b;
        if (!run({self, "--copy", photo.toStdString(), out.toStdString()}, a) ||
            !run({"vipsthumbnail", photo.toStdString(), "--size", "1600x", "-o",
                  (out + QStringLiteral("/t.jpg[Q=82,optimize_coding]")).toStdString()},
                 b)) {
            std::fprintf(stderr, "a trial failed\n");
            return 1;
        }
        if (i == 0)
            continue;
        ours.push_back(a.ms);
        theirs.push_back(b.ms);
        oursMb.push_back(a.peakMb);
        theirsMb.push_back(b.peakMb);
        ratios.push_back(a.ms / b.ms);
    }
    std::printf("{\"row\": \"web copy 20 MP JPEG to 1600 px vs vipsthumbnail\", "
                "\"lumipage\": %.1f, \"vipsthumbnail\": %.1f, \"ratio\": %.2f, "
                "\"lumipage_peak_mb\": %.1f, \"vipsthumbnail_peak_mb\": %.1f, "
                "\"memory_ratio\": %.2f, \"pairs\": %d}\n",
                median(ours), median(theirs), median(ratios), median(oursMb), median(theirsMb),
                median(oursMb) / median(theirsMb), pairs);
    return 0;
}
