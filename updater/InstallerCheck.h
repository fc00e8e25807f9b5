#pragma once

#include <QByteArray>
#include <QString>

// Whether a downloaded installer is the one the feed announced: its Ed25519 signature
// against the key built into the program, and its length.
class InstallerCheck
{
public:
    // The built-in public key (base64); empty in a build without one.
    static QByteArray publicKey();
    // Whether this build can check installers at all; without a key none is downloaded.
    static bool hasKey();
    // Replaces the built-in key, for builds that test their own feeds.
    static void setPublicKey(const QByteArray &base64);

    // Empty when the file is authentic, else why it is not.
    static QString problem(const QByteArray &file, const QString &signatureBase64, qint32 announcedLength);
};
