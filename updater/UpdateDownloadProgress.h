#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

// The small dialog shown while an installer downloads. It has no close button of its own.
class UpdateDownloadProgress : public QDialog
{
    Q_OBJECT
public:
    explicit UpdateDownloadProgress(QWidget *parent = nullptr);

    void setText(const QString &text);
    QLabel *label() const { return m_label; }
    QProgressBar *progress() const { return m_progress; }

public slots:
    void downloadProgress(qint64 bytesReceived, qint64 bytesTotal);
    bool close();

private:
    QLabel *m_label;
    QProgressBar *m_progress;
};
