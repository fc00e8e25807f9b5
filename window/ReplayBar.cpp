#include "window/ReplayBar.h"

#include "store/AssetLocator.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QSlider>
#include <QToolButton>

namespace {
QIcon iconFile(const QString &path)
{
    const QPixmap pixmap(AssetLocator::assetPath(path));
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}
} // namespace

ReplayBar::ReplayBar()
    : row(new QHBoxLayout)
    , timeLabel(new QLabel)
    , playButton(new QToolButton)
    , slider(new QSlider(Qt::Horizontal))
    , speedBox(new QComboBox)
    , liveButton(new QToolButton)
    , fetchButton(new QToolButton)
    , playIcon(iconFile(QStringLiteral("img/playbutton.png")))
    , pauseIcon(iconFile(QStringLiteral("img/pausebutton.png")))
{
    timeLabel->setObjectName(QStringLiteral("uhrzeit"));
    playButton->setObjectName(QStringLiteral("playButton"));
    playButton->setIcon(playIcon);
    playButton->setToolTip(QToolButton::tr("Animation starten"));
    slider->setObjectName(QStringLiteral("animslider"));
    speedBox->setObjectName(QStringLiteral("replaySpeed"));
    liveButton->setObjectName(QStringLiteral("liveButton"));
    liveButton->setText(QToolButton::tr("Live"));
    fetchButton->setObjectName(QStringLiteral("fetchButton"));
    fetchButton->setToolTip(QToolButton::tr("neueste Positionsdaten holen"));
    // Both buttons take the size of the play picture.
    const QSize iconSize = QPixmap(AssetLocator::assetPath(QStringLiteral("img/playbutton.png"))).size();
    if (!iconSize.isEmpty()) {
        playButton->setIconSize(iconSize);
        fetchButton->setIconSize(iconSize);
    }
    row->addWidget(timeLabel);
    row->addWidget(playButton);
    row->addWidget(slider);
    row->addWidget(speedBox);
    row->addWidget(liveButton);
    row->addWidget(new QLabel);
    row->addWidget(fetchButton);
}
