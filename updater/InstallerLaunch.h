#pragma once

#include "updater/InstallerCheck.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class AvailableUpdate;

// A downloaded installer: checked against the offer (a plain file name, the signature and
// the length), written into a folder only this user can enter, made executable by its
// owner only, and started. Nothing is written before the checks pass.
class InstallerLaunch
{
public:
    using Launcher = std::function<bool(const QString &path)>;

    // Why the installer was not started: the box's text, the reason and the file.
    struct Refusal
    {
        QString text;
        QString reason;
        QString file;
    };

    // Empty once the installer has been started.
    static std::optional<Refusal> run(const QByteArray &bytes, const QUrl &url, const AvailableUpdate *offer,
                                      const InstallerCheck &check, const Launcher &launcher);
};
