#include "updater/UpdateInstaller.h"

#include "store/MessagePresenter.h"
#include "updater/AvailableUpdate.h"
#include "updater/InstallerLaunch.h"
#include "updater/TransferGuard.h"
#include "updater/UpdateDownloadProgress.h"
#include "updater/Updater.h"
#include "updater/UpdaterNetwork.h"

#include <QCoreApplication>
#include <QDebug>
#include <QNetworkAccessManager>
#include <QProcess>

UpdateInstaller::UpdateInstaller(QNetworkAccessManager *network, const TransferLimits &limits,
                                 MessagePresenter *const &messages)
    : m_network(network)
    , m_limits(limits)
    , m_messages(messages)
    , m_launcher([](const QString &path) { return QProcess::startDetached(path, {}); })
    , m_quitter([](int exitCode) { QCoreApplication::exit(exitCode); })
{
}

QNetworkReply *UpdateInstaller::request(const AvailableUpdate &offer)
{
    if (!m_check.hasKey()) {
        // Nothing this build could not check is downloaded; the user is told where to
        // get the new version instead.
        qDebug() << "Updater: no key to check installers, nothing downloaded";
        showBox(int(MessagePresenter::Icon::Information), Updater::tr("Brisavela Update"),
                Updater::tr("Diese Programmversion kann Updates nicht selbst installieren."),
                Updater::tr("Version %1 können Sie hier herunterladen:\n%2\n\nMehr zur neuen Version:\n%3")
                    .arg(offer.enclosureVersion(), offer.enclosureUrl().toString(),
                         offer.releaseNotesLink().toString()));
        return nullptr;
    }
    QNetworkReply *reply = m_network->get(UpdaterNetwork::bareRequest(offer.enclosureUrl()));
    // The announced length is all that may come; without one, a sane maximum.
    const qint64 announced = offer.enclosureLength();
    TransferGuard::watch(reply, QStringLiteral("installer"),
                         announced > 0 ? qMin(announced, m_limits.installerBytes) : m_limits.installerBytes,
                         m_limits.idleMs, 0);
    return reply;
}

bool UpdateInstaller::started(QNetworkReply *reply, const AvailableUpdate &offer)
{
    if (reply->error() != QNetworkReply::NoError) {
        qDebug() << "Unable to download the update: " << reply->errorString();
        return false;
    }
    qDebug() << "OK";
    auto *progress = new UpdateDownloadProgress(nullptr);
    progress->setWindowFlags((progress->windowFlags() & ~(Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint))
                             | Qt::CustomizeWindowHint);
    progress->setText(Updater::tr("Download von %1 Version %2")
                          .arg(QCoreApplication::applicationName(), offer.enclosureVersion()));
    QObject::connect(reply, &QNetworkReply::downloadProgress, progress, &UpdateDownloadProgress::downloadProgress);
    // Any reply of the updater closes it, as the release notes may finish meanwhile.
    QObject::connect(m_network, &QNetworkAccessManager::finished, progress, &UpdateDownloadProgress::close);
    progress->show();
    return true;
}

void UpdateInstaller::downloaded(QNetworkReply *reply, const AvailableUpdate *offer)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError) {
        qDebug() << "Download errors ocurred! HTTP Error Code:" << status;
        qWarning() << "Updater: installer download failed:" << reply->errorString();
        reply->deleteLater();
        return;
    }
    if (!reply->isReadable()) {
        qDebug() << "Error: QNetworkReply is not readable!";
        reply->deleteLater();
        return;
    }
    const QByteArray bytes = reply->readAll();
    const QUrl url = reply->url();
    reply->deleteLater();

    if (const std::optional<InstallerLaunch::Refusal> refused = InstallerLaunch::run(bytes, url, offer, m_check, m_launcher)) {
        qWarning() << "Updater: installer not started:" << refused->reason << refused->file;
        showBox(int(MessagePresenter::Icon::Warning), Updater::tr("Brisavela Update"), refused->text, refused->reason);
        return;
    }
    m_quitter(0);
}

void UpdateInstaller::showBox(int icon, const QString &title, const QString &text,
                              const QString &informativeText) const
{
    if (!m_messages) {
        qWarning() << "Updater: no message presenter for" << title << text << informativeText;
        return;
    }
    m_messages->show(MessagePresenter::Icon(icon), title, text, MessageRequest::Ok, nullptr, informativeText);
}
