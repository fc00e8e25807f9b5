#pragma once

#include <QIcon>

class QAbstractButton;

// The network indicator on the fetch button: its icon and tool tip show whether tracking
// and tile requests are outstanding, and whether positions are fetched automatically.
class FetchIndicator
{
public:
    explicit FetchIndicator(QAbstractButton *button);

    // One request more; the button shows it.
    void requestSent(bool autoLoad);
    // One request less (never below 0). True when none is outstanding any more.
    bool requestDone(bool autoLoad);
    int pendingRequests() const { return m_pending; }

    void show(bool outstanding, bool autoLoad);
    QIcon icon(bool outstanding, bool autoLoad) const;
    static QString iconPath(bool outstanding, bool autoLoad);

private:
    QAbstractButton *m_button;
    int m_pending = 0;
    QIcon m_idle;
    QIcon m_loading;
    QIcon m_idleAuto;
    QIcon m_loadingAuto;
};
