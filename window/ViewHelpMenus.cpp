#include "window/ViewHelpMenus.h"

#include "window/AboutDialog.h"
#include "window/FleetView.h"
#include "window/KeysDialog.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

ViewHelpMenus::ViewHelpMenus(QMenuBar *bar, FleetView *fleetView, QWidget *chart, QWidget *window)
    : QObject(window)
    , m_window(window)
    , m_viewMenu(bar->addMenu(tr("&Ansicht")))
    , m_helpMenu(nullptr)
    , m_showFleetAction(m_viewMenu->addAction(tr("Flotte zeigen")))
    , m_showCourseAction(m_viewMenu->addAction(tr("Bahn zeigen")))
    , m_keysAction(nullptr)
    , m_aboutAction(nullptr)
{
    m_showFleetAction->setShortcut(QKeySequence(Qt::Key_F));
    connect(m_showFleetAction, &QAction::triggered, this, [fleetView, chart] {
        fleetView->showFleet();
        chart->setFocus();
    });
    connect(m_showCourseAction, &QAction::triggered, this, [fleetView, chart] {
        fleetView->showCourse();
        chart->setFocus();
    });
    m_helpMenu = bar->addMenu(tr("&Hilfe"));
    m_keysAction = m_helpMenu->addAction(tr("Tastenkürzel"));
    connect(m_keysAction, &QAction::triggered, this, &ViewHelpMenus::showKeys);
    m_aboutAction = m_helpMenu->addAction(tr("Über Brisavela"));
    connect(m_aboutAction, &QAction::triggered, this, &ViewHelpMenus::showAbout);
}

void ViewHelpMenus::showKeys()
{
    if (!m_keysDialog)
        m_keysDialog = new KeysDialog(m_window);
    m_keysDialog->show();
    m_keysDialog->raise();
}

void ViewHelpMenus::showAbout()
{
    if (!m_aboutDialog)
        m_aboutDialog = new AboutDialog(m_window);
    m_aboutDialog->show();
    m_aboutDialog->raise();
}
