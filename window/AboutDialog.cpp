#include "window/AboutDialog.h"

#include "store/AppIdentity.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QLabel>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
    , m_text(new QLabel(text()))
{
    setWindowTitle(tr("Über Brisavela"));
    m_text->setObjectName(QStringLiteral("aboutText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(tr("Schließen"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
}

QString AboutDialog::text()
{
    return tr("Brisavela\n"
              "Version %1\n\n"
              "Ein Programm zum Verfolgen und Wiedergeben von GPS-verfolgten Segelregatten.\n\n"
              "Lizenz: siehe Paket\n\n"
              "Kartendaten: © OpenStreetMap-Mitwirkende (openstreetmap.org), CC BY-SA")
        .arg(QLatin1String(AppIdentity::applicationVersion));
}
