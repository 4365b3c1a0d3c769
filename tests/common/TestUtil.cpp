#include "common/TestUtil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <vector>

namespace testutil {

QString OutputDir()
{
    const QString dir = QStringLiteral(MORV_TEST_OUTPUT_DIR);
    QDir().mkpath(dir);
    return dir;
}

QString DataPath(const QString& name) { return QStringLiteral(MORV_TEST_DATA_DIR) + "/" + name; }

QString TempDir()
{
    static std::vector<std::unique_ptr<QTemporaryDir>> dirs;
    dirs.push_back(std::make_unique<QTemporaryDir>());
    return dirs.back()->path();
}

QString SaveImagePng(const QImage& img, const QString& name)
{
    const QString path = OutputDir() + "/" + name + ".png";
    QDir().mkpath(QFileInfo(path).absolutePath());
    img.save(path, "PNG");
    return path;
}

QString SaveWidgetPng(QWidget* w, const QString& name)
{
    return SaveImagePng(w->grab().toImage(), name);
}

bool MatchesGolden(const QImage& imgIn, const QString& name, int tolerance, int maxBadPixels)
{
    const QImage img = imgIn.convertToFormat(QImage::Format_ARGB32);
    const QString golden = DataPath("golden/" + name + ".png");
    if (!QFileInfo::exists(golden) || qEnvironmentVariableIsSet("MORV_UPDATE_GOLDEN")) {
        QDir().mkpath(QFileInfo(golden).absolutePath());
        return img.save(golden, "PNG");
    }
    const QImage ref = QImage(golden).convertToFormat(QImage::Format_ARGB32);
    if (ref.size() != img.size())
        return false;
    int bad = 0;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        const QRgb* b = reinterpret_cast<const QRgb*>(ref.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (std::abs(qRed(a[x]) - qRed(b[x])) > tolerance || std::abs(qGreen(a[x]) - qGreen(b[x])) > tolerance
                || std::abs(qBlue(a[x]) - qBlue(b[x])) > tolerance || std::abs(qAlpha(a[x]) - qAlpha(b[x])) > tolerance)
                ++bad;
        }
    }
    if (bad > maxBadPixels)
        SaveImagePng(img, "mismatch/" + name);
    return bad <= maxBadPixels;
}

bool PumpUntil(const std::function<bool()>& done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

} // namespace testutil
