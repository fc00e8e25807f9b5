#pragma once

#include <QDialog>

class QLabel;

// "Über Brisavela": the program's name and version, its licence, and where the map data
// comes from.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);

    static QString text();
    QLabel *textLabel() const { return m_text; }

private:
    QLabel *m_text;
};
