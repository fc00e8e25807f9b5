#pragma once

#include "store/MessagePresenter.h"
#include "updater/FeedReader.h"
#include "updater/UpdateInstaller.h"
#include "updater/TransferLimits.h"
#include "updater/UpdateWindow.h"

#include <QFileInfo>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <functional>

class AvailableUpdate;
class QAuthenticator;
class QNetworkAccessManager;
class QNetworkReply;
class UpdateWindow;

// The program's self-update: reads the update feed, offers a newer version in the update
// window and, when the user agrees, downloads the installer, checks it and starts it.
// One instance per process.
class Updater : public QObject
{
    Q_OBJECT
public:
    // Redirects of the feed followed before the check gives up.
    static constexpr int maxRedirects = 10;

    static Updater *instance();

    void setFeedURL(const QString &url) { m_feedUrl = QUrl(url); }
    QUrl feedURL() const { return m_feedUrl; }
    void allowSkipVersion(bool allowed) { m_skipVersionAllowed = allowed; }
    void allowRemindLater(bool allowed) { m_remindLaterAllowed = allowed; }
    void setCredentials(const QString &user, const QString &password);
    void removeOldVersionFiles(const QString &folder);

    AvailableUpdate *proposedUpdate() const { return m_proposedUpdate; }
    UpdateWindow *updateWindow() const { return m_updateWindow; }
    QNetworkAccessManager *network() const { return m_network; }
    bool silent() const { return m_silent; }

    void showUpdateWindow();
    void hideUpdaterWindow();
    void updateWindowClosed();

    // How a checked installer is started, and how the program then ends; tests replace
    // both so that their process survives.
    using Launcher = std::function<bool(const QString &path)>;
    using Quitter = std::function<void(int exitCode)>;
    void setLauncher(Launcher launcher) { m_installer.setLauncher(std::move(launcher)); }
    void setQuitter(Quitter quitter) { m_installer.setQuitter(std::move(quitter)); }
    void setLimits(const TransferLimits &limits) { m_limits = limits; }
    // Where the updater's boxes go (start-up hands in the program's; not owned).
    void setMessagePresenter(MessagePresenter *messages) { m_messages = messages; }
    // The key installers must be signed with (base64); the built-in one unless replaced.
    void setPublicKey(const QByteArray &base64) { m_installer.setPublicKey(base64); }
    const TransferLimits &limits() const { return m_limits; }
    // Forgets the offer, any window and any request, for a check from scratch.
    void clear();

signals:
    void updatedFinishedSuccessfully();
    void finished();

public slots:
    bool CheckForUpdates(bool silentAsMuchAsItCouldGet);
    bool CheckForUpdates();
    bool CheckForUpdatesSilent();
    bool CheckForUpdatesNotSilent();
    void InstallUpdate();
    void SkipUpdate();
    void RemindMeLater();

private slots:
    void authenticationRequired(QNetworkReply *reply, QAuthenticator *authenticator);
    void httpFeedReadyRead();
    void httpFeedUpdateDataReadProgress(qint64 bytesRead, qint64 totalBytes);
    void httpFeedDownloadFinished();
    void httpRelNotesReadyRead();
    void httpRelNotesUpdateDataReadProgress(qint64 bytesRead, qint64 totalBytes);
    void httpRelNotesDownloadFinished();
    void httpUpdateDownloadFinished();

private:
    Updater();
    ~Updater() override;

    void startDownloadFeed(const QUrl &url);
    bool xmlParseFeed();
    bool searchDownloadedFeedForUpdates(const FeedItem &item);
    void startDownloadReleaseNotes(const QUrl &url);
    void showErrorDialog(const QString &message);
    void showInformationDialog(const QString &message);
    void showBox(MessagePresenter::Icon icon, const QString &title, const QString &text,
                 const QString &informativeText = QString());

    QPointer<UpdateWindow> m_updateWindow;
    AvailableUpdate *m_proposedUpdate = nullptr;
    bool m_silent = false;
    bool m_skipVersionAllowed = true;
    bool m_remindLaterAllowed = true;
    QUrl m_feedUrl;
    QNetworkAccessManager *m_network;
    QPointer<QNetworkReply> m_feedReply;
    bool m_requestAborted = false;
    QPointer<QNetworkReply> m_releaseNotesReply;
    QString m_releaseNotes;
    QString m_authUser = QStringLiteral("");
    QString m_authPassword = QStringLiteral("");
    FeedReader m_feed;
    int m_redirects = 0;
    TransferLimits m_limits;
    MessagePresenter *m_messages = nullptr;
    UpdateInstaller m_installer;
};
