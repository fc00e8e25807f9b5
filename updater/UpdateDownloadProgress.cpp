#include "updater/UpdateDownloadProgress.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

UpdateDownloadProgress::UpdateDownloadProgress(QWidget *parent)
    : QDialog(parent)
    , m_label(new QLabel)
    , m_progress(new QProgressBar)
{
    setObjectName(QStringLiteral("UpdateDownloadProgress"));
    setWindowTitle(QCoreApplication::translate("UpdateDownloadProgress", "Brisavela Update"));
    resize(640, 70);
    setWindowModality(Qt::ApplicationModal);
    setModal(true);

    auto *gridLayout = new QGridLayout(this);
    gridLayout->setObjectName(QStringLiteral("gridLayout"));
    gridLayout->setSpacing(0);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->setSizeConstraint(QLayout::SetFixedSize);
    auto *frame = new QFrame;
    frame->setObjectName(QStringLiteral("frame"));
    frame->setFrameShape(QFrame::WinPanel);
    frame->setFrameShadow(QFrame::Raised);
    auto *verticalLayout = new QVBoxLayout(frame);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setSpacing(8);
    verticalLayout->setContentsMargins(11, 11, 11, 11);

    QFont labelFont;
    labelFont.setPointSize(10);
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setFont(labelFont);
    m_label->setLayoutDirection(Qt::LeftToRight);
    m_label->setFrameShape(QFrame::NoFrame);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setText(QCoreApplication::translate("UpdateDownloadProgress", "Downloading Update..."));
    verticalLayout->addWidget(m_label);

    QFont barFont;
    barFont.setPointSize(8);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setFont(barFont);
    m_progress->setTextVisible(false);
    m_progress->setInvertedAppearance(false);
    verticalLayout->addWidget(m_progress);
    gridLayout->addWidget(frame, 0, 0);

    m_progress->setValue(0);
}

void UpdateDownloadProgress::setText(const QString &text)
{
    m_label->setText(text);
}

void UpdateDownloadProgress::downloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    if (bytesTotal <= 0)
        return;
    const int value = int(double(bytesReceived) / double(bytesTotal) * 100.0);
    if (value >= 0 && value <= 100)
        m_progress->setValue(value);
}

bool UpdateDownloadProgress::close()
{
    qDebug() << "download closed";
    deleteLater();
    return QDialog::close();
}
