#include "updater/InstallerLaunch.h"

#include "updater/AvailableUpdate.h"
#include "updater/InstallerFolder.h"
#include "updater/Updater.h"

#include <QDebug>
#include <QFile>

namespace {
QString notInstalled()
{
    return Updater::tr("Das Update konnte nicht installiert werden.");
}

std::optional<InstallerLaunch::Refusal> refusal(const QString &text, const QString &reason, const QString &file)
{
    return InstallerLaunch::Refusal{text, reason, file};
}
} // namespace

std::optional<InstallerLaunch::Refusal> InstallerLaunch::run(const QByteArray &bytes, const QUrl &url,
                                                             const AvailableUpdate *offer,
                                                             const InstallerCheck &check, const Launcher &launcher)
{
    // Everything is checked before anything is written.
    const QString fileName = InstallerFolder::fileNameFor(url);
    if (fileName.isEmpty())
        return refusal(notInstalled(), Updater::tr("Der Dateiname im Download-Link ist unzulässig: %1").arg(url.toString()),
                       url.toString());
    const QString problem =
        offer ? check.problem(bytes, offer->enclosureSignature(), offer->enclosureLength())
              : Updater::tr("Es wird kein Update angeboten.");
    if (!problem.isEmpty())
        return refusal(Updater::tr("Das Update konnte nicht überprüft werden und wurde nicht installiert."), problem,
                       fileName);
    // A fresh folder only the user can enter, so nobody else can put or swap a file there.
    InstallerFolder folder;
    if (!folder.create())
        return refusal(notInstalled(), folder.error(), fileName);
    const QString target = folder.path() + QStringLiteral("/") + fileName;
    qDebug() << "Writing downloaded file into " << target;
    if (!folder.write(fileName, bytes)) {
        folder.discard();
        return refusal(notInstalled(), Updater::tr("Die Datei konnte nicht gespeichert werden."), target);
    }
    // Only the user may run it, or change it before it runs.
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qDebug() << "starting " << target;
    if (!launcher(target)) {
        folder.discard();
        return refusal(notInstalled(), Updater::tr("Das Installationsprogramm ließ sich nicht starten."), target);
    }
    return std::nullopt;
}
