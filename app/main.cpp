#include "app/Startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Startup::nameApplication();
    // Desktops match the window to its launcher, and so to its icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.brisavela.Brisavela"));
    return Startup().run();
}
