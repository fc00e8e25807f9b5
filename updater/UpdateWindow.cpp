#include "updater/UpdateWindow.h"

#include "updater/AvailableUpdate.h"
#include "updater/Updater.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>
#include <QTextBrowser>
#include <QVBoxLayout>

UpdateWindow::UpdateWindow(QWidget *parent, bool skipVersionAllowed, bool remindLaterAllowed)
    : QDialog(parent)
{
    buildForm();
    if (!skipVersionAllowed)
        m_skipThisVersionButton->hide();
    if (!remindLaterAllowed)
        m_remindMeLaterButton->hide();
    setAttribute(Qt::WA_DeleteOnClose);
    m_newVersionIsAvailableLabel->setText(
        m_newVersionIsAvailableLabel->text().arg(QCoreApplication::applicationName()));
}

void UpdateWindow::buildForm()
{
    auto tr = [](const char *text) { return QCoreApplication::translate("UpdateWindow", text); };
    setObjectName(QStringLiteral("UpdateWindow"));
    setWindowTitle(tr("Brisavela Update"));
    resize(640, 360);
    setMinimumSize(640, 360);
    setWindowModality(Qt::ApplicationModal);
    setModal(true);

    auto *horizontalLayout_6 = new QHBoxLayout(this);
    horizontalLayout_6->setObjectName(QStringLiteral("horizontalLayout_6"));
    horizontalLayout_6->setSizeConstraint(QLayout::SetFixedSize);
    auto *verticalLayout = new QVBoxLayout;
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));

    QFont bold;
    bold.setBold(true);
    m_newVersionIsAvailableLabel = new QLabel(tr("Eine neue Version von %1 steht zur Verfügung!"));
    m_newVersionIsAvailableLabel->setObjectName(QStringLiteral("newVersionIsAvailableLabel"));
    m_newVersionIsAvailableLabel->setFont(bold);
    verticalLayout->addWidget(m_newVersionIsAvailableLabel);

    m_wouldYouLikeToDownloadLabel = new QLabel(tr("Sie haben die Version xx installiert."));
    m_wouldYouLikeToDownloadLabel->setObjectName(QStringLiteral("wouldYouLikeToDownloadLabel"));
    verticalLayout->addWidget(m_wouldYouLikeToDownloadLabel);

    auto *groupBox = new QGroupBox;
    groupBox->setObjectName(QStringLiteral("groupBox"));
    groupBox->setFont(bold);
    auto *horizontalLayout_7 = new QHBoxLayout(groupBox);
    horizontalLayout_7->setObjectName(QStringLiteral("horizontalLayout_7"));
    m_releaseNotesWebView = new QTextBrowser;
    m_releaseNotesWebView->setObjectName(QStringLiteral("releaseNotesWebView"));
    m_releaseNotesWebView->setReadOnly(true);
    m_releaseNotesWebView->setMinimumSize(600, 238);
    m_releaseNotesWebView->setFont(QFont());
    horizontalLayout_7->addWidget(m_releaseNotesWebView);
    verticalLayout->addWidget(groupBox);

    auto *horizontalLayout_3 = new QHBoxLayout;
    horizontalLayout_3->setObjectName(QStringLiteral("horizontalLayout_3"));
    m_skipThisVersionButton = new QPushButton(tr("überspringen"));
    m_skipThisVersionButton->setObjectName(QStringLiteral("skipThisVersionButton"));
    horizontalLayout_3->addWidget(m_skipThisVersionButton);
    horizontalLayout_3->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_remindMeLaterButton = new QPushButton(tr("später erinnern"));
    m_remindMeLaterButton->setObjectName(QStringLiteral("remindMeLaterButton"));
    horizontalLayout_3->addWidget(m_remindMeLaterButton);
    m_installUpdateButton = new QPushButton(tr("jetzt installieren"));
    m_installUpdateButton->setObjectName(QStringLiteral("installUpdateButton"));
    m_installUpdateButton->setDefault(true);
    m_installUpdateButton->setAutoDefault(true);
    horizontalLayout_3->addWidget(m_installUpdateButton);
    verticalLayout->addLayout(horizontalLayout_3);
    horizontalLayout_6->addLayout(verticalLayout);

    QMetaObject::connectSlotsByName(this);
}

bool UpdateWindow::fillFromProposal()
{
    const AvailableUpdate *proposal = Updater::instance()->proposedUpdate();
    if (!proposal)
        return false;
    m_newVersionIsAvailableLabel->setText(proposal->title()
                                          + QCoreApplication::translate("UpdateWindow", " steht zum Download bereit."));
    m_wouldYouLikeToDownloadLabel->setText(QCoreApplication::translate("UpdateWindow", "Sie haben die Version %1 installiert.")
                                               .arg(QCoreApplication::applicationVersion()));
    m_releaseNotesWebView->setHtml(proposal->releaseNotes());
    return true;
}

void UpdateWindow::setReleaseNotesHtml(const QString &html)
{
    m_releaseNotesWebView->setHtml(html);
}

void UpdateWindow::on_installUpdateButton_clicked()
{
    Updater::instance()->InstallUpdate();
}

void UpdateWindow::on_skipThisVersionButton_clicked()
{
    Updater::instance()->SkipUpdate();
}

void UpdateWindow::on_remindMeLaterButton_clicked()
{
    Updater::instance()->RemindMeLater();
}

void UpdateWindow::closeEvent(QCloseEvent *event)
{
    Updater::instance()->updateWindowClosed();
    event->accept();
}
