#include "platform/desktop/programfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lumipage::programfiles
{

namespace
{

const char kDictionariesVariable[] = "QTWEBENGINE_DICTIONARIES_PATH";
bool g_dictionariesPointed = false; // the variable is ours, not the user's

// The build copies the side files beside the executable; the palette page marks them.
bool sideFilesBesideExecutable()
{
    return QFileInfo::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/color.htm"));
}

} // namespace

QString sideFolder()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    if (sideFilesBesideExecutable())
        return executableFolder;
    // Installed: the same path from the executable's folder to the data as at install time.
    return QDir::cleanPath(executableFolder + QLatin1Char('/') +
                           QStringLiteral(LUMIPAGE_SIDE_FILES_FROM_BINARY));
}

QString writableFolder()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    if (sideFilesBesideExecutable() && QFileInfo(executableFolder).isWritable())
        return executableFolder;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QDir().mkpath(cache);
    return cache;
}

void pointEngineAtDictionaries()
{
    if (!qEnvironmentVariableIsEmpty(kDictionariesVariable))
        return;
    qputenv(kDictionariesVariable,
            QFile::encodeName(sideFolder() + QStringLiteral("/qtwebengine_dictionaries")));
    g_dictionariesPointed = true;
}

void releaseEngineDictionaries()
{
    if (g_dictionariesPointed)
        qunsetenv(kDictionariesVariable);
    g_dictionariesPointed = false;
}

} // namespace lumipage::programfiles
