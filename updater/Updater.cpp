#include "updater/Updater.h"

#include "store/AppIdentity.h"
#include "store/MessagePresenter.h"
#include "updater/AvailableUpdate.h"
#include "updater/IgnoredVersions.h"
#include "updater/InstallerCheck.h"
#include "updater/UpdateDownloadProgress.h"
#include "updater/UpdateWindow.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>

#include <cstdlib>

namespace {
QMutex instanceLock;
Updater *theInstance = nullptr;

QString notInstalled()
{
    return Updater::tr("Das Update konnte nicht installiert werden.");
}

// A fresh folder only the user can enter, so nobody else can put or swap a file there.
QString privateFolder()
{
    QByteArray pattern = QFile::encodeName(QDir::tempPath() + QStringLiteral("/brisavela-update-XXXXXX"));
    if (!::mkdtemp(pattern.data()))
        return QString();
    return QFile::decodeName(pattern);
}
} // namespace

Updater *Updater::instance()
{
    if (!theInstance) {
        QMutexLocker lock(&instanceLock);
        if (!theInstance)
            theInstance = new Updater;
    }
    return theInstance;
}

Updater::Updater()
    : m_network(new QNetworkAccessManager(this))
    , m_launcher([](const QString &path) { return QProcess::startDetached(path, {}); })
    , m_quitter([](int exitCode) { QCoreApplication::exit(exitCode); })
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
            MessagePresenter::show(QMessageBox::Critical, tr("Updater"), tr(entry.message), QMessageBox::Ok);
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
    connect(m_feedReply, &QNetworkReply::readyRead, this, &Updater::httpFeedReadyRead);
    connect(m_feedReply, &QNetworkReply::downloadProgress, this, &Updater::httpFeedUpdateDataReadProgress);
    connect(m_feedReply, &QNetworkReply::finished, this, &Updater::httpFeedDownloadFinished);
}

void Updater::httpFeedReadyRead()
{
    if (auto *reply = qobject_cast<QNetworkReply *>(sender()); reply && reply == m_feedReply)
        m_feed.addData(reply->readAll());
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
        showErrorDialog(tr("Feed download failed: %1.").arg(reply->errorString()));
    } else if (redirect.isValid() && !redirect.toUrl().isEmpty()) {
        reply->deleteLater();
        m_feedReply = nullptr;
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
        m_feed.addData(reply->readAll());
        xmlParseFeed();
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
    if (!item.releaseNotesLink.isEmpty()) {
        item.link = item.releaseNotesLink;
    } else if (item.link.isEmpty()) {
        showErrorDialog(tr("Feed error: \"release notes\" link is empty"));
        return false;
    } else {
        item.releaseNotesLink = item.link;
    }
    if (!item.link.startsWith(QLatin1String("http://")) && !item.link.startsWith(QLatin1String("https://"))) {
        showErrorDialog(tr("Feed error: invalid \"release notes\" link"));
        return false;
    }
    if (item.url.isEmpty() || item.version.isEmpty() || item.platform.isEmpty()) {
        showErrorDialog(tr("Feed error: invalid \"enclosure\" with the download link"));
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
    m_releaseNotesReply = m_network->get(QNetworkRequest(url));
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
    if (reply->error() != QNetworkReply::NoError)
        showErrorDialog(tr("RelNotes download failed: %1.").arg(reply->errorString()));
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
    MessagePresenter::show(QMessageBox::Critical, QString(), tr("Error"), QMessageBox::Ok, nullptr, message);
}

void Updater::showInformationDialog(const QString &message)
{
    if (m_silent)
        return;
    MessagePresenter::show(QMessageBox::Information, QString(), tr("Information"), QMessageBox::Ok, nullptr, message);
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
    removeOldVersionFilesIn(folder.isEmpty() ? QDir::tempPath() : folder);
}

void Updater::removeOldVersionFilesIn(const QString &folder)
{
    // Links are never followed and only regular files go: another user's link in a shared
    // temporary folder must not make this program delete what it points to.
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo &entry : entries) {
        if (entry.isSymLink())
            continue;
        if (entry.isDir()) {
            removeOldVersionFilesIn(entry.absoluteFilePath());
        } else if (entry.isFile() && entry.suffix() == QLatin1String("oldversion")) {
            if (!QFile::remove(entry.absoluteFilePath()))
                qDebug() << "Error: Unable to clean up file: " << entry.absoluteFilePath();
        }
    }
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
    QNetworkReply *reply = m_network->get(QNetworkRequest(m_proposedUpdate->enclosureUrl()));
    connect(reply, &QNetworkReply::finished, this, &Updater::httpUpdateDownloadFinished);
    if (reply->error() != QNetworkReply::NoError) {
        qDebug() << "Unable to download the update: " << reply->errorString();
        return;
    }
    qDebug() << "OK";
    auto *progress = new UpdateDownloadProgress(nullptr);
    progress->setWindowFlags((progress->windowFlags() & ~(Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint))
                             | Qt::CustomizeWindowHint);
    progress->setText(tr("Download von %1 Version %2")
                          .arg(QCoreApplication::applicationName(), m_proposedUpdate->enclosureVersion()));
    connect(reply, &QNetworkReply::downloadProgress, progress, &UpdateDownloadProgress::downloadProgress);
    connect(m_network, &QNetworkAccessManager::finished, progress, &UpdateDownloadProgress::close);
    progress->show();
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
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError) {
        qDebug() << "Download errors ocurred! HTTP Error Code:" << status;
        reply->deleteLater();
        return;
    }
    if (!reply->isReadable()) {
        qDebug() << "Error: QNetworkReply is not readable!";
        reply->deleteLater();
        return;
    }
    const QByteArray bytes = reply->readAll();
    const QString fileName = reply->url().fileName();
    reply->deleteLater();

    const QString folder = privateFolder();
    const QString target = folder + QStringLiteral("/") + fileName;
    qDebug() << "Writing downloaded file into " << target;
    QFile file(target);
    const bool written = !folder.isEmpty() && !fileName.isEmpty() && file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                         && file.write(bytes) == bytes.size();
    file.close();
    if (!written) {
        refuseInstaller(notInstalled(), tr("Die Datei konnte nicht gespeichert werden."), target);
        QDir(folder).removeRecursively();
        return;
    }
    const QString problem = m_proposedUpdate
                                ? InstallerCheck::problem(bytes, m_proposedUpdate->enclosureSignature(),
                                                          m_proposedUpdate->enclosureLength())
                                : tr("Es wird kein Update angeboten.");
    if (!problem.isEmpty()) {
        refuseInstaller(tr("Das Update konnte nicht überprüft werden und wurde nicht installiert."), problem, target);
        QDir(folder).removeRecursively();
        return;
    }
    // Only the user may run it, or change it before it runs.
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qDebug() << "starting " << target;
    if (!m_launcher(target)) {
        refuseInstaller(notInstalled(), tr("Das Installationsprogramm ließ sich nicht starten."), target);
        QDir(folder).removeRecursively();
        return;
    }
    m_quitter(0);
}

void Updater::refuseInstaller(const QString &text, const QString &reason, const QString &file)
{
    qWarning() << "Updater: installer not started:" << reason << file;
    MessagePresenter::show(QMessageBox::Warning, tr("Brisavela Update"), text, QMessageBox::Ok, nullptr, reason);
}
