#pragma once

#include "updater/InstallerCheck.h"
#include "updater/TransferLimits.h"

#include <QNetworkReply>
#include <QObject>

#include <functional>

class AvailableUpdate;
class MessagePresenter;
class QNetworkAccessManager;

// Installing an offered update: the installer is downloaded with a progress dialog, within
// the limits, checked, written into a private folder and started, and the program ends. A
// build without a key downloads nothing and says where the new version is.
class UpdateInstaller
{
public:
    using Launcher = std::function<bool(const QString &path)>;
    using Quitter = std::function<void(int exitCode)>;

    UpdateInstaller(QNetworkAccessManager *network, const TransferLimits &limits, MessagePresenter *const &messages);

    // Sends the download, its reply finishing into the receiver's slot; false when nothing
    // was sent (no key, or the request failed at once).
    template <typename Receiver>
    bool start(const AvailableUpdate &offer, Receiver *receiver, void (Receiver::*finished)())
    {
        QNetworkReply *reply = request(offer);
        if (!reply)
            return false;
        QObject::connect(reply, &QNetworkReply::finished, receiver, finished);
        return started(reply, offer);
    }
    // The download has finished: checked, written and started, or refused with a box.
    void downloaded(QNetworkReply *reply, const AvailableUpdate *offer);

    void setLauncher(Launcher launcher) { m_launcher = std::move(launcher); }
    void setQuitter(Quitter quitter) { m_quitter = std::move(quitter); }
    void setPublicKey(const QByteArray &base64) { m_check = InstallerCheck(base64); }

    // A box of the updater with an OK button; logged instead when nobody handed in a presenter.
    void showBox(int icon, const QString &title, const QString &text, const QString &informativeText) const;

private:
    QNetworkReply *request(const AvailableUpdate &offer);
    bool started(QNetworkReply *reply, const AvailableUpdate &offer);

    QNetworkAccessManager *m_network;
    const TransferLimits &m_limits;
    MessagePresenter *const &m_messages;
    InstallerCheck m_check;
    Launcher m_launcher;
    Quitter m_quitter;
};
