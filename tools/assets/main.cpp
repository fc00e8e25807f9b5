// Draws the program's image assets into the source tree: the boat sprite and its rotation
// strip (sprites/), the button icons (img/), and the application icon for launchers
// (desktop/icons/, SVG and PNG sizes). Run from the source root.
#include "tools/assets/AppIcon.h"
#include "tools/assets/ButtonIcons.h"
#include "tools/assets/ShipSprite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

namespace {
bool save(const QImage &image, const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    const bool ok = image.save(path, "PNG");
    QTextStream(stdout) << (ok ? "wrote " : "could not write ") << path << Qt::endl;
    return ok;
}

bool save(const QString &text, const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.flush();
    QTextStream(stdout) << (ok ? "wrote " : "could not write ") << path << Qt::endl;
    return ok;
}
} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    bool ok = true;
    const QImage sprite = ShipSprite::draw();
    ok &= save(sprite, QStringLiteral("sprites/ship_32.png"));
    // The strip is made from the file as saved, as anyone rebuilding it from that file would.
    ok &= save(ShipSprite::strip(QImage(QStringLiteral("sprites/ship_32.png"))), QStringLiteral("sprites/shipstrip.png"));
    // For screens with several device pixels per view pixel (chart/SpriteFrames).
    ok &= save(ShipSprite::draw(128), QStringLiteral("sprites/ship_128.png"));
    for (const ButtonIcons::Named &icon : ButtonIcons::all())
        ok &= save(icon.image, icon.file);
    ok &= save(AppIcon::svg(), AppIcon::svgFile());
    for (int size : AppIcon::pngSizes())
        ok &= save(AppIcon::png(size), AppIcon::pngFile(size));
    return ok ? 0 : 1;
}
