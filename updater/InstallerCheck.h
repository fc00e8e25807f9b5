#pragma once

#include <QByteArray>
#include <QString>

// Whether a downloaded installer is the one the feed announced: its Ed25519 signature
// against the program's public key, and its length.
class InstallerCheck
{
public:
    // The key built into this program (base64); empty in a build without one.
    static QByteArray builtInKey();

    explicit InstallerCheck(const QByteArray &publicKeyBase64 = builtInKey());

    // Whether installers can be checked at all; without a key none is downloaded.
    bool hasKey() const;
    // Empty when the file is authentic, else why it is not.
    QString problem(const QByteArray &file, const QString &signatureBase64, qint32 announcedLength) const;

private:
    QByteArray m_key;
};
