#pragma once

#include <QByteArray>
#include <QString>

namespace lumipage::certificatepin
{

// The pin libcurl checks a server's key against ("sha256//BASE64": the SHA-256 of the
// certificate's SubjectPublicKeyInfo), from the certificate in PEM; empty when the text
// is not a certificate.
QString pinOf(const QByteArray &pem);

} // namespace lumipage::certificatepin
