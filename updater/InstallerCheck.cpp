#include "updater/InstallerCheck.h"

#include <sodium.h>

namespace {
QByteArray &overriddenKey()
{
    static QByteArray key;
    return key;
}
bool overridden = false;
} // namespace

QByteArray InstallerCheck::publicKey()
{
    return overridden ? overriddenKey() : QByteArray(BRISAVELA_UPDATE_PUBLIC_KEY);
}

bool InstallerCheck::hasKey()
{
    return QByteArray::fromBase64(publicKey()).size() == crypto_sign_PUBLICKEYBYTES;
}

void InstallerCheck::setPublicKey(const QByteArray &base64)
{
    overriddenKey() = base64;
    overridden = true;
}

QString InstallerCheck::problem(const QByteArray &file, const QString &signatureBase64, qint32 announcedLength)
{
    if (sodium_init() < 0)
        return QStringLiteral("Die Prüfung steht nicht zur Verfügung.");
    const QByteArray key = QByteArray::fromBase64(publicKey());
    if (key.size() != crypto_sign_PUBLICKEYBYTES)
        return QStringLiteral("Diese Programmversion hat keinen Schlüssel zum Prüfen von Updates.");
    if (announcedLength > 0 && file.size() != announcedLength)
        return QStringLiteral("Die Datei hat %1 Bytes, angekündigt waren %2.").arg(file.size()).arg(announcedLength);
    const QByteArray signature = QByteArray::fromBase64(signatureBase64.toLatin1());
    if (signature.size() != crypto_sign_BYTES)
        return QStringLiteral("Der Update-Feed nennt keine gültige Signatur.");
    if (crypto_sign_verify_detached(reinterpret_cast<const unsigned char *>(signature.constData()),
                                    reinterpret_cast<const unsigned char *>(file.constData()), quint64(file.size()),
                                    reinterpret_cast<const unsigned char *>(key.constData()))
        != 0)
        return QStringLiteral("Die Signatur passt nicht zur Datei.");
    return QString();
}
