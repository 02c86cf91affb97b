#include "document/pagefile.h"

#include "document/atomicfile.h"
#include "document/fileerrors.h"
#include "platform/markup/textcodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace lumipage::pagefile
{

namespace
{
QString tr(const char *text)
{
    return QCoreApplication::translate("lumipage::pagefile", text);
}
} // namespace

bool read(const QString &path, Page *page, QString *error)
{
    if (QFileInfo(path).isDir()) {
        *error = tr("「%1」はフォルダです。開くページのファイルを選んでください。").arg(path);
        return false;
    }
    // A pipe, socket or device is never opened: reading it would wait for a writer or
    // never end.
    const QString kind = fileerrors::specialFileKind(path);
    if (!kind.isEmpty()) {
        *error = tr("「%1」は%2です。ページのファイルではないので開けません。").arg(path, kind);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = tr("ファイル「%1」を開けません。%2").arg(path, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (!textcodec::looksLikeText(bytes)) {
        *error = tr("ファイル「%1」はHTMLファイルではありません。").arg(path);
        return false;
    }
    const QByteArray encoding = textcodec::detectEncoding(bytes);
    const std::optional<textcodec::Decoded> decoded = textcodec::decode(bytes, encoding);
    if (!decoded) {
        *error = tr("ファイル「%1」の文字コード（%2）を読み取れません。")
                     .arg(path, QString::fromLatin1(encoding));
        return false;
    }
    page->bytes = bytes;
    page->text = decoded->text;
    page->encoding = encoding;
    page->notice.clear();
    if (decoded->replaced)
        page->notice = tr("ファイル「%1」には文字コード（%2）として読めないバイトがありました。"
                          "その部分は「\uFFFD」に置き換えて開きました。")
                           .arg(path, QString::fromLatin1(encoding));
    return true;
}

bool write(const QString &path, const QString &html, const QByteArray &encoding, QString *error)
{
    return writeBytes(path, textcodec::encode(html, encoding), error);
}

namespace
{
bool succeeded(const atomicfile::Result &written, const QString &path, qint64 size, QString *error)
{
    if (written.ok)
        return true;
    const QString why = fileerrors::whyWriteFailed(path, size, written.errnum, written.systemText);
    *error = written.opened ? tr("ファイル「%1」の保存に失敗しました。%2").arg(path, why)
                            : tr("ファイル「%1」に書き込めません。%2").arg(path, why);
    return false;
}

bool isFolder(const QString &path, QString *error)
{
    if (!QFileInfo(path).isDir())
        return false;
    *error = tr("「%1」はフォルダです。ファイル名を指定してください。").arg(path);
    return true;
}
} // namespace

bool writeBytes(const QString &path, const QByteArray &bytes, QString *error)
{
    return !isFolder(path, error) &&
           succeeded(atomicfile::write(path, bytes), path, bytes.size(), error);
}

std::optional<atomicfile::Pending> beginWrite(const QString &path, const QByteArray &bytes,
                                              QString *error)
{
    if (isFolder(path, error))
        return std::nullopt;
    atomicfile::Pending pending = atomicfile::begin(path, bytes);
    if (!succeeded(pending.begun(), path, bytes.size(), error))
        return std::nullopt;
    return pending;
}

bool commitWrite(atomicfile::Pending &pending, const QString &path, qint64 size, QString *error)
{
    return succeeded(pending.commit(), path, size, error);
}

} // namespace lumipage::pagefile
