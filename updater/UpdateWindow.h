#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTextBrowser;

// Tells the user which version is available and which is installed, shows the release
// notes and offers to skip, postpone or install it.
class UpdateWindow : public QDialog
{
    Q_OBJECT
public:
    UpdateWindow(QWidget *parent, bool skipVersionAllowed, bool remindLaterAllowed);

    bool fillFromProposal();
    void setReleaseNotesHtml(const QString &html);

    QLabel *newVersionLabel() const { return m_newVersionIsAvailableLabel; }
    QLabel *installedVersionLabel() const { return m_wouldYouLikeToDownloadLabel; }
    QTextBrowser *releaseNotesView() const { return m_releaseNotesWebView; }
    QPushButton *skipButton() const { return m_skipThisVersionButton; }
    QPushButton *remindButton() const { return m_remindMeLaterButton; }
    QPushButton *installButton() const { return m_installUpdateButton; }

public slots:
    void on_installUpdateButton_clicked();
    void on_skipThisVersionButton_clicked();
    void on_remindMeLaterButton_clicked();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildForm();

    QLabel *m_newVersionIsAvailableLabel = nullptr;
    QLabel *m_wouldYouLikeToDownloadLabel = nullptr;
    QTextBrowser *m_releaseNotesWebView = nullptr;
    QPushButton *m_skipThisVersionButton = nullptr;
    QPushButton *m_remindMeLaterButton = nullptr;
    QPushButton *m_installUpdateButton = nullptr;
};
