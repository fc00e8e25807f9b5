#pragma once

#include <QObject>
#include <QUrl>

// One offered update, as the feed describes it.
class AvailableUpdate : public QObject
{
    Q_OBJECT
public:
    explicit AvailableUpdate(QObject *parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString &v) { m_title = v; }
    QUrl releaseNotesLink() const { return m_releaseNotesLink; }
    void setReleaseNotesLink(const QUrl &v) { m_releaseNotesLink = v; }
    void setReleaseNotesLink(const QString &v) { m_releaseNotesLink = QUrl(v); }
    QString releaseNotes() const { return m_releaseNotes; }
    void setReleaseNotes(const QString &v) { m_releaseNotes = v; }
    QString pubDate() const { return m_pubDate; }
    void setPubDate(const QString &v) { m_pubDate = v; }
    QUrl enclosureUrl() const { return m_enclosureUrl; }
    void setEnclosureUrl(const QUrl &v) { m_enclosureUrl = v; }
    void setEnclosureUrl(const QString &v) { m_enclosureUrl = QUrl(v); }
    QString enclosureVersion() const { return m_enclosureVersion; }
    void setEnclosureVersion(const QString &v) { m_enclosureVersion = v; }
    QString enclosurePlatform() const { return m_enclosurePlatform; }
    void setEnclosurePlatform(const QString &v) { m_enclosurePlatform = v; }
    qint32 enclosureLength() const { return m_enclosureLength; }
    void setEnclosureLength(qint32 v) { m_enclosureLength = v; }
    QString enclosureType() const { return m_enclosureType; }
    void setEnclosureType(const QString &v) { m_enclosureType = v; }
    // Ed25519 signature of the installer's bytes, base64, as the feed gives it.
    QString enclosureSignature() const { return m_enclosureSignature; }
    void setEnclosureSignature(const QString &v) { m_enclosureSignature = v; }

private:
    QString m_title;
    QUrl m_releaseNotesLink;
    QString m_releaseNotes;
    QString m_pubDate;
    QUrl m_enclosureUrl;
    QString m_enclosureVersion;
    QString m_enclosurePlatform;
    qint32 m_enclosureLength = 0;
    QString m_enclosureType;
    QString m_enclosureSignature;
};
