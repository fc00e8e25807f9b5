#pragma once

#include <QObject>

class AboutDialog;
class FleetView;
class KeysDialog;
class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The "Ansicht" menu (fit the fleet or the course into the chart) and the "Hilfe" menu
// (keys, about), added to the window's menu bar.
class ViewHelpMenus : public QObject
{
    Q_OBJECT
public:
    // fleetView: not owned; chart: takes the focus back after a fit; window: parent of
    // the help windows and of this object.
    ViewHelpMenus(QMenuBar *bar, FleetView *fleetView, QWidget *chart, QWidget *window);

    QMenu *viewMenu() const { return m_viewMenu; }
    QMenu *helpMenu() const { return m_helpMenu; }
    QAction *showFleetAction() const { return m_showFleetAction; }
    QAction *showCourseAction() const { return m_showCourseAction; }
    QAction *keysAction() const { return m_keysAction; }
    QAction *aboutAction() const { return m_aboutAction; }
    KeysDialog *keysDialog() const { return m_keysDialog; }
    AboutDialog *aboutDialog() const { return m_aboutDialog; }

private:
    void showKeys();
    void showAbout();

    QWidget *m_window;
    QMenu *m_viewMenu;
    QMenu *m_helpMenu;
    QAction *m_showFleetAction;
    QAction *m_showCourseAction;
    QAction *m_keysAction;
    QAction *m_aboutAction;
    KeysDialog *m_keysDialog = nullptr;
    AboutDialog *m_aboutDialog = nullptr;
};
