#include "styles/linkedsheets.h"

#include "document/atomicfile.h"
#include "document/pagelock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace lumipage
{

namespace
{

std::optional<QByteArray> readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace

QString LinkedSheets::readOnlyReason(const QString &path, const QString &pageFolder)
{
    const QFileInfo info(path);
    const QString folder = QDir::cleanPath(pageFolder);
    if (folder.isEmpty() || !QDir::cleanPath(info.absoluteFilePath()).startsWith(folder + u'/'))
        return u"ページのフォルダの外にあるスタイルシートなので、ここでは書き換えません。"_s;
    if (!info.isWritable())
        return u"このスタイルシートは読み取り専用です（書き込みが許されていません）。"_s;
    if (!QFileInfo(info.absolutePath()).isWritable())
        return u"このスタイルシートのフォルダには書き込めません。"_s;
    if (const auto owner = PageLock().otherOwner(path))
        return u"ほかのエディタ（%1、%2）がこのスタイルシートを開いています。"_s.arg(owner->program,
                                                                                     owner->host);
    return {};
}

const LinkedSheets::File *LinkedSheets::read(const QString &path, const QString &pageFolder,
                                             const QByteArray &pageEncoding)
{
    const QFileInfo info(path);
    auto found = m_files.find(path);
    if (found != m_files.end() && found->modified == info.lastModified() &&
        found->size == info.size() && m_encodings.value(path) == pageEncoding) {
        found->readOnlyReason = readOnlyReason(path, pageFolder);
        return &*found;
    }
    const auto bytes = readBytes(path);
    if (!bytes) {
        m_files.remove(path);
        return nullptr;
    }
    File file;
    file.bytes = *bytes;
    file.text = css::decodeSheet(*bytes, {}, pageEncoding);
    file.modified = info.lastModified();
    file.size = info.size();
    file.readOnlyReason = readOnlyReason(path, pageFolder);
    m_encodings.insert(path, pageEncoding);
    return &*m_files.insert(path, file);
}

QString LinkedSheets::replace(const QString &path, qsizetype start, qsizetype end,
                              const QString &text, QByteArray *before)
{
    const auto found = m_files.constFind(path);
    if (found == m_files.cend())
        return u"スタイルシートを読めませんでした。"_s;
    *before = found->bytes;
    return writeChecked(path, found->bytes,
                        css::spliceBytes(found->bytes, found->text, start, end, text));
}

QString LinkedSheets::restore(const QString &path, const QByteArray &expected,
                              const QByteArray &bytes)
{
    return writeChecked(path, expected, bytes);
}

QString LinkedSheets::writeChecked(const QString &path, const QByteArray &expected,
                                   const QByteArray &bytes)
{
    // Another program may have changed the file since: its changes are never overwritten.
    const auto onDisk = readBytes(path);
    if (!onDisk || *onDisk != expected) {
        m_files.remove(path);
        return u"このスタイルシートはほかで変更されています。読み直しましたので、"
               "もう一度お試しください。"_s;
    }
    const atomicfile::Result written = atomicfile::write(path, bytes);
    if (!written.ok)
        return u"スタイルシートを書き込めませんでした: %1"_s.arg(written.systemText);
    m_files.remove(path); // read again, with the new bytes and time, when next asked for
    return {};
}

} // namespace lumipage
