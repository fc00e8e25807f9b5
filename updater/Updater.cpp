#include "updater/Updater.h"

#include "store/AppIdentity.h"
#include "store/MessagePresenter.h"
#include "updater/AvailableUpdate.h"
#include "updater/IgnoredVersions.h"
#include "updater/InstallerCheck.h"
#include "updater/OldVersionFiles.h"
#include "updater/TransferGuard.h"
#include "updater/UpdateWindow.h"
#include "updater/UpdaterNetwork.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QNetworkReply>

#include <atomic>

#include <unistd.h>

namespace {
QMutex instanceLock;
std::atomic<Updater *> theInstance{nullptr};

} // namespace

Updater *Updater::instance()
{
    Updater *updater = theInstance.load(std::memory_order_acquire);
    if (!updater) {
        QMutexLocker lock(&instanceLock);
        updater = theInstance.load(std::memory_order_relaxed);
        if (!updater) {
            updater = new Updater;
            theInstance.store(updater, std::memory_order_release);
        }
    }
    return updater;
}

Updater::Updater()
    : m_network(new UpdaterNetwork(this))
    , m_installer(m_network, m_limits, m_messages)
{
    connect(m_network, &QNetworkAccessManager::authenticationRequired, this, &Updater::authenticationRequired);
}

Updater::~Updater()
{
    delete m_proposedUpdate;
}

void Updater::setCredentials(const QString &user, const QString &password)
{
    m_authUser = user;
    m_authPassword = password;
}

void Updater::clear()
{
    m_requestAborted = true;
    if (m_feedReply)
        m_feedReply->abort();
    if (m_releaseNotesReply)
        m_releaseNotesReply->abort();
    hideUpdaterWindow();
    delete m_proposedUpdate;
    m_proposedUpdate = nullptr;
    m_releaseNotes = QString();
    m_requestAborted = false;
}

bool Updater::CheckForUpdates(bool silentAsMuchAsItCouldGet)
{
    if (m_feedUrl.isEmpty()) {
        qCritical() << "Please set feed URL via setFeedURL() before calling CheckForUpdates().";
        return false;
    }
    m_silent = silentAsMuchAsItCouldGet;
    const struct
    {
        QString value;
        const char *message;
    } identity[] = {
        {QCoreApplication::organizationName(), "QApplication::organizationName is not set. Please do that."},
        {QCoreApplication::organizationDomain(), "QApplication::organizationDomain is not set. Please do that."},
        {QCoreApplication::applicationName(), "QApplication::applicationName is not set. Please do that."},
        {QCoreApplication::applicationVersion(), "QApplication::applicationVersion is not set. Please do that."},
    };
    for (const auto &entry : identity) {
        if (entry.value.isEmpty()) {
            showBox(MessagePresenter::Icon::Critical, tr("Updater"), tr(entry.message));
            return false;
        }
    }
    if (m_feedReply) {
        m_requestAborted = true;
        m_feedReply->abort();
    }
    m_requestAborted = false;
    m_redirects = 0;
    startDownloadFeed(m_feedUrl);
    return true;
}

bool Updater::CheckForUpdates()
{
    return CheckForUpdates(true);
}

bool Updater::CheckForUpdatesSilent()
{
    return CheckForUpdates(true);
}

bool Updater::CheckForUpdatesNotSilent()
{
    return CheckForUpdates(false);
}

void Updater::startDownloadFeed(const QUrl &url)
{
    m_feed.clear();
    QNetworkRequest request(url);
    request.setRawHeader("User-Agent", AppIdentity::userAgent);
    // The feed's redirects are followed here, so that the new address is remembered.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    m_feedReply = m_network->get(request);
    TransferGuard::watch(m_feedReply, QStringLiteral("feed"), m_limits.feedBytes, m_limits.idleMs, m_limits.documentMs);
    connect(m_feedReply, &QNetworkReply::readyRead, this, &Updater::httpFeedReadyRead);
    connect(m_feedReply, &QNetworkReply::downloadProgress, this, &Updater::httpFeedUpdateDataReadProgress);
    connect(m_feedReply, &QNetworkReply::finished, this, &Updater::httpFeedDownloadFinished);
}

void Updater::httpFeedReadyRead()
{
    auto *reply = qobject_cast<QNetworkReply *>(sender());
    if (!reply || reply != m_feedReply)
        return;
    const QByteArray bytes = reply->readAll();
    if (TransferGuard::take(reply, bytes.size()))
        m_feed.addData(bytes);
}

void Updater::httpFeedUpdateDataReadProgress(qint64, qint64)
{
}

void Updater::httpFeedDownloadFinished()
{
    auto *reply = qobject_cast<QNetworkReply *>(sender());
    if (!reply)
        return;
    if (m_requestAborted || reply != m_feedReply) {
        reply->deleteLater();
        return;
    }
    const QVariant redirect = reply->attribute(QNetworkRequest::RedirectionTargetAttribute);
    if (reply->error() != QNetworkReply::NoError) {
        const QString limit = TransferGuard::reasonFor(reply);
        showErrorDialog(tr("Feed download failed: %1.").arg(limit.isEmpty() ? reply->errorString() : limit));
    } else if (redirect.isValid() && !redirect.toUrl().isEmpty()) {
        reply->deleteLater();
        m_feedReply = nullptr;
        const QUrl target = m_feedUrl.resolved(redirect.toUrl());
        if (!UpdaterNetwork::isHttp(target)) {
            qWarning() << "Updater: feed redirection refused:" << target.toString();
            showErrorDialog(tr("Feed download failed: %1.")
                                .arg(tr("redirection to %1 refused, only http and https are followed").arg(target.toString())));
            return;
        }
        if (++m_redirects > maxRedirects) {
            showErrorDialog(tr("Feed download failed: %1.")
                                .arg(tr("more than %1 redirections, the last to %2")
                                         .arg(maxRedirects)
                                         .arg(m_feedUrl.resolved(redirect.toUrl()).toString())));
            return;
        }
        m_feedUrl = m_feedUrl.resolved(redirect.toUrl());
        startDownloadFeed(m_feedUrl);
        return;
    } else {
        const QByteArray rest = reply->readAll();
        if (TransferGuard::take(reply, rest.size())) {
            m_feed.addData(rest);
            xmlParseFeed();
        } else {
            showErrorDialog(tr("Feed download failed: %1.").arg(TransferGuard::reasonFor(reply)));
        }
    }
    reply->deleteLater();
    m_feedReply = nullptr;
}

bool Updater::xmlParseFeed()
{
    switch (m_feed.parse()) {
    case FeedReader::Outcome::Undecided:
        return false;
    case FeedReader::Outcome::Decided:
        return searchDownloadedFeedForUpdates(m_feed.item());
    case FeedReader::Outcome::Failed:
        break;
    }
    showErrorDialog(tr("Feed parsing failed: %1 %2.").arg(QString::number(m_feed.errorLine()), m_feed.errorText()));
    return false;
}

bool Updater::searchDownloadedFeedForUpdates(const FeedItem &candidate)
{
    FeedItem item = candidate;
    if (const QString error = FeedReader::completeLinks(item); !error.isEmpty()) {
        showErrorDialog(error);
        return false;
    }
    if (IgnoredVersions::VersionIsUnwanted(item.version)) {
        qDebug() << "Version '" << item.version << "' is ignored, too old or something like that.";
        showInformationDialog(tr("No updates were found."));
        return true;
    }
    if (m_proposedUpdate) {
        delete m_proposedUpdate;
        m_proposedUpdate = nullptr;
        qDebug() << "delete m_proposedUpdate; m_proposedUpdate = 0;";
    }
    startDownloadReleaseNotes(QUrl(item.link));
    m_proposedUpdate = new AvailableUpdate;
    m_proposedUpdate->setTitle(item.title);
    m_proposedUpdate->setReleaseNotesLink(item.releaseNotesLink);
    m_proposedUpdate->setPubDate(item.pubDate);
    m_proposedUpdate->setEnclosureUrl(item.url);
    m_proposedUpdate->setEnclosureVersion(item.version);
    m_proposedUpdate->setEnclosurePlatform(item.platform);
    m_proposedUpdate->setEnclosureLength(item.length);
    m_proposedUpdate->setEnclosureType(item.type);
    m_proposedUpdate->setEnclosureSignature(item.signature);
    m_proposedUpdate->setReleaseNotes(m_releaseNotes);
    showUpdateWindow();
    return true;
}

void Updater::startDownloadReleaseNotes(const QUrl &url)
{
    if (!m_releaseNotes.isNull())
        m_releaseNotes = QString();
    m_releaseNotesReply = m_network->get(UpdaterNetwork::bareRequest(url));
    TransferGuard::watch(m_releaseNotesReply, QStringLiteral("release notes"), m_limits.releaseNotesBytes,
                         m_limits.idleMs, m_limits.documentMs);
    connect(m_releaseNotesReply, &QNetworkReply::readyRead, this, &Updater::httpRelNotesReadyRead);
    connect(m_releaseNotesReply, &QNetworkReply::downloadProgress, this, &Updater::httpRelNotesUpdateDataReadProgress);
    connect(m_releaseNotesReply, &QNetworkReply::finished, this, &Updater::httpRelNotesDownloadFinished);
}

void Updater::httpRelNotesReadyRead()
{
    auto *reply = qobject_cast<QNetworkReply *>(sender());
    if (!reply)
        return;
    const QByteArray bytes = reply->readAll();
    if (!TransferGuard::take(reply, bytes.size()))
        return;
    const qsizetype nul = bytes.indexOf('\0');
    m_releaseNotes += QString::fromLatin1(nul < 0 ? bytes : bytes.left(nul));
}

void Updater::httpRelNotesUpdateDataReadProgress(qint64, qint64)
{
}

void Updater::httpRelNotesDownloadFinished()
{
    auto *reply = qobject_cast<QNetworkReply *>(sender());
    if (!reply)
        return;
    if (m_requestAborted) {
        reply->deleteLater();
        return;
    }
    const QString limit = TransferGuard::reasonFor(reply);
    if (reply->error() != QNetworkReply::NoError)
        showErrorDialog(tr("RelNotes download failed: %1.").arg(limit.isEmpty() ? reply->errorString() : limit));
    else if (m_updateWindow)
        m_updateWindow->setReleaseNotesHtml(m_releaseNotes);
    reply->deleteLater();
    if (reply == m_releaseNotesReply)
        m_releaseNotesReply = nullptr;
}

void Updater::showErrorDialog(const QString &message)
{
    if (m_silent)
        return;
    showBox(MessagePresenter::Icon::Critical, QString(), tr("Error"), message);
}

void Updater::showInformationDialog(const QString &message)
{
    if (m_silent)
        return;
    showBox(MessagePresenter::Icon::Information, QString(), tr("Information"), message);
}

void Updater::authenticationRequired(QNetworkReply *reply, QAuthenticator *authenticator)
{
    if (!reply || !authenticator)
        return;
    if (authenticator->user().isEmpty()) {
        authenticator->setUser(m_authUser);
        authenticator->setPassword(m_authPassword);
        return;
    }
    reply->abort();
    qWarning() << "Http authentication: Wrong credentials!";
}

void Updater::removeOldVersionFiles(const QString &folder)
{
    OldVersionFiles::remove(folder.isEmpty() ? QDir::tempPath() : folder);
}

void Updater::showUpdateWindow()
{
    hideUpdaterWindow();
    m_updateWindow = new UpdateWindow(nullptr, m_skipVersionAllowed, m_remindLaterAllowed);
    m_updateWindow->fillFromProposal();
    m_updateWindow->show();
}

void Updater::hideUpdaterWindow()
{
    if (!m_updateWindow)
        return;
    if (!m_updateWindow->close())
        qWarning() << "Update window didn't close, leaking memory from now on";
    qDebug() << "Updater::hideUpdaterWindow()";
    m_updateWindow = nullptr;
}

void Updater::updateWindowClosed()
{
    m_updateWindow = nullptr;
}

void Updater::RemindMeLater()
{
    hideUpdaterWindow();
}

void Updater::SkipUpdate()
{
    qDebug() << "Skip update";
    if (!m_proposedUpdate) {
        qWarning() << "Proposed update is NULL (shouldn't be at this point)";
        return;
    }
    IgnoredVersions::SkipVersion(m_proposedUpdate->enclosureVersion());
    hideUpdaterWindow();
}

void Updater::InstallUpdate()
{
    if (!m_proposedUpdate) {
        qWarning() << "Abort Update: No update prososed! This should not happen.";
        return;
    }
    if (!m_installer.start(*m_proposedUpdate, this, &Updater::httpUpdateDownloadFinished))
        return;
    emit updatedFinishedSuccessfully();
    hideUpdaterWindow();
}

void Updater::httpUpdateDownloadFinished()
{
    auto *reply = qobject_cast<QNetworkReply *>(sender());
    if (!reply) {
        qWarning() << "The slot httpUpdateDownloadFinished() should only be invoked by S&S.";
        return;
    }
    m_installer.downloaded(reply, m_proposedUpdate);
}

void Updater::showBox(MessagePresenter::Icon icon, const QString &title, const QString &text,
                      const QString &informativeText)
{
    m_installer.showBox(int(icon), title, text, informativeText);
}
