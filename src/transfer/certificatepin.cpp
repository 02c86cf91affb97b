#include "transfer/certificatepin.h"

#include <QCryptographicHash>

namespace lumipage::certificatepin
{

namespace
{

// One DER element at `at`: its whole size (header and content) and where its content
// starts; false when the bytes end first.
bool element(const QByteArray &der, qsizetype at, qsizetype *size, qsizetype *content)
{
    if (at + 2 > der.size())
        return false;
    qsizetype length = quint8(der[at + 1]);
    qsizetype header = 2;
    if (length & 0x80) {
        const int bytes = length & 0x7f;
        if (bytes < 1 || bytes > 4 || at + 2 + bytes > der.size())
            return false;
        length = 0;
        for (int i = 0; i < bytes; ++i)
            length = (length << 8) | quint8(der[at + 2 + i]);
        header += bytes;
    }
    *content = at + header;
    *size = header + length;
    return at + *size <= der.size();
}

} // namespace

QString pinOf(const QByteArray &pem)
{
    const qsizetype begin = pem.indexOf("-----BEGIN CERTIFICATE-----");
    const qsizetype end = pem.indexOf("-----END CERTIFICATE-----");
    if (begin < 0 || end < begin)
        return {};
    const QByteArray der = QByteArray::fromBase64(pem.mid(begin + 27, end - begin - 27));
    // Certificate ::= SEQUENCE { tbsCertificate SEQUENCE { [0] version OPTIONAL, serial,
    // signature, issuer, validity, subject, subjectPublicKeyInfo, … }, … }
    qsizetype size = 0, certificate = 0, at = 0;
    if (!element(der, 0, &size, &certificate) || !element(der, certificate, &size, &at))
        return {};
    qsizetype content = 0;
    if (at < der.size() && quint8(der[at]) == 0xA0) {
        if (!element(der, at, &size, &content))
            return {};
        at += size;
    }
    for (int skip = 0; skip < 5; ++skip) {
        if (!element(der, at, &size, &content))
            return {};
        at += size;
    }
    if (!element(der, at, &size, &content) || quint8(der[at]) != 0x30)
        return {};
    return QStringLiteral("sha256//") +
           QString::fromLatin1(
               QCryptographicHash::hash(der.mid(at, size), QCryptographicHash::Sha256).toBase64());
}

} // namespace lumipage::certificatepin
