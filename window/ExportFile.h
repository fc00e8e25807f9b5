#pragma once

#include "store/Services.h"

#include <QString>

class QWidget;

// What the export entries of the "Datei" menu share about the file they write.
namespace ExportFile {

// The save dialog.
QString askWithDialog(QWidget *parent, const QString &caption, const QString &suggestedPath, const QString &filters,
                      QString *selectedFilter);
// Where the dialog opens: the folder of the last export, else the documents folder, else
// home (the dialog would open in the working directory, "/" for a launcher, without one).
QString startFolder(const QString &lastFolder);
// A race name as a file name: letters, digits, dots and dashes ("… , Das Rennen" holds
// commas and spaces); empty when nothing is left.
QString stem(const QString &raceName);
// With a suffix added to the name as typed, the dialog asked about replacing the name as
// typed, not about this one: asks now. False when the user declines.
bool mayWrite(const Services &services, const QString &caption, const QString &path, QWidget *window);

} // namespace ExportFile
