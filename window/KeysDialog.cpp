#include "window/KeysDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

KeysDialog::KeysDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Tastenkürzel"));
    const QList<QPair<QString, QString>> rows = entries();
    auto *table = new QTableWidget(int(rows.size()), 2);
    table->setObjectName(QStringLiteral("keysTable"));
    table->setHorizontalHeaderLabels({tr("Taste / Maus"), tr("Wirkung")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    for (int i = 0; i < rows.size(); ++i) {
        table->setItem(i, 0, new QTableWidgetItem(rows[i].first));
        table->setItem(i, 1, new QTableWidgetItem(rows[i].second));
    }
    table->setWordWrap(false);
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(tr("Schließen"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table);
    layout->addWidget(buttons);
    // Wide enough for every row without scrolling sideways.
    const int columns = table->columnWidth(0) + table->columnWidth(1);
    resize(columns + 60, 600);
}

QList<QPair<QString, QString>> KeysDialog::entries()
{
    return {
        {tr("Pfeiltasten"), tr("Karte um eine Kachel verschieben")},
        {tr("+ / −"), tr("Karte vergrößern / verkleinern")},
        {tr("Mausrad"), tr("Karte vergrößern / verkleinern")},
        {tr("Linke Maustaste ziehen"), tr("Karte verschieben")},
        {tr("Klick auf ein Boot"), tr("Boot folgen / nicht mehr folgen")},
        {tr("Umschalt + Maus bewegen"), tr("Ansicht unter dem Zeiger verschieben")},
        {tr("Zeiger auf Boot oder Gate"), tr("Angaben zum Boot (Fahrt, Kurs, letzte Position) oder Name des Gates")},
        {tr("Bild auf / Bild ab"), tr("Wiedergabe eine Sekunde vor / zurück")},
        {tr("Umschalt + Bild auf / Bild ab"), tr("Wiedergabe eine Minute vor / zurück")},
        {tr("Strg + Bild auf / Bild ab"), tr("Wiedergabe zehn Minuten vor / zurück")},
        {tr("F"), tr("Flotte zeigen")},
        {tr("Leertaste"), tr("Seitenleiste öffnen / schließen")},
        {tr("Zeitregler ziehen"), tr("Wiedergabezeit wählen (beendet Live)")},
        {tr("Wiedergabeknopf"), tr("Animation starten / beenden")},
        {tr("Live"), tr("Zur neuesten Position und dort bleiben")},
        {tr("Klick auf eine Zeile der Teilnehmerliste"), tr("Boot folgen / nicht mehr folgen")},
        {tr("Kästchen in der Teilnehmerliste"), tr("Boot oder Klasse ein- / ausblenden")},
        {tr("Zeiger auf eine Zeile der Teilnehmerliste"), tr("Angaben zum Boot und Alter seiner letzten Meldung")},
    };
}
