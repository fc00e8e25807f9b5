#include "updater/InstallerCheck.h"

#include <sodium.h>

QByteArray InstallerCheck::builtInKey()
{
    return QByteArray(BRISAVELA_UPDATE_PUBLIC_KEY);
}

InstallerCheck::InstallerCheck(const QByteArray &publicKeyBase64)
    : m_key(QByteArray::fromBase64(publicKeyBase64))
{
}

bool InstallerCheck::hasKey() const
{
    return m_key.size() == crypto_sign_PUBLICKEYBYTES;
}

QString InstallerCheck::problem(const QByteArray &file, const QString &signatureBase64, qint32 announcedLength) const
{
    if (sodium_init() < 0)
        return QStringLiteral("Die Prüfung steht nicht zur Verfügung.");
    const QByteArray &key = m_key;
    if (!hasKey())
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
