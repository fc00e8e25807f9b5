#include "window/FetchIndicator.h"

#include "store/AssetLocator.h"

#include <QAbstractButton>
#include <QPixmap>

#include <algorithm>

namespace {
QIcon iconFile(const QString &path)
{
    const QPixmap pixmap(AssetLocator::assetPath(path));
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}
} // namespace

FetchIndicator::FetchIndicator(QAbstractButton *button)
    : m_button(button)
    , m_idle(iconFile(iconPath(false, false)))
    , m_loading(iconFile(iconPath(true, false)))
    , m_idleAuto(iconFile(iconPath(false, true)))
    , m_loadingAuto(iconFile(iconPath(true, true)))
{
}

QString FetchIndicator::iconPath(bool outstanding, bool autoLoad)
{
    if (outstanding)
        return autoLoad ? QStringLiteral("img/loadicon_auto.png") : QStringLiteral("img/loadicon.png");
    return autoLoad ? QStringLiteral("img/idleicon_auto.png") : QStringLiteral("img/idleicon.png");
}

QIcon FetchIndicator::icon(bool outstanding, bool autoLoad) const
{
    if (outstanding)
        return autoLoad ? m_loadingAuto : m_loading;
    return autoLoad ? m_idleAuto : m_idle;
}

void FetchIndicator::show(bool outstanding, bool autoLoad)
{
    m_button->setIcon(icon(outstanding, autoLoad));
    m_button->setToolTip(outstanding ? QAbstractButton::tr("Übertragung stoppen")
                                     : QAbstractButton::tr("neueste Positionsdaten holen"));
}

void FetchIndicator::requestSent(bool autoLoad)
{
    ++m_pending;
    show(true, autoLoad);
}

bool FetchIndicator::requestDone(bool autoLoad)
{
    m_pending = std::max(0, m_pending - 1);
    if (m_pending > 0)
        return false;
    show(false, autoLoad);
    return true;
}
