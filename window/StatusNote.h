#pragma once

#include <QLabel>

class QTimer;

// A short note at the right of the status line: something the user should know about but
// need not answer, such as data that could not be stored. It fades after a while. It takes
// the room the status line has left and shortens itself to fit ("…"); the whole text is
// its tool tip.
class StatusNote : public QLabel
{
    Q_OBJECT
public:
    static constexpr int defaultShowMs = 30000;

    explicit StatusNote(QWidget *parent = nullptr);

    void showNote(const QString &text, int milliseconds = defaultShowMs);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer *m_timer;
};
