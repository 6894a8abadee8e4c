#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

class QWidget;

namespace kestrel {

// What a file dialog of an editor window's file commands asks for.
struct FileChoice
{
    int titleId = 0;        // the string-table number of the dialog's title
    QStringList filters;    // name filters, "Text (*.ext)" each
    const char* objectName; // the dialog's object name (tests find the dialog by it)
    QFileDialog::AcceptMode accept = QFileDialog::AcceptOpen;
    QFileDialog::FileMode mode = QFileDialog::ExistingFile;
    QString defaultSuffix; // added to a name typed without one; empty: none. A filter chosen in
                           // the dialog with an extension of its own ("(*.vcf)") gives its own.
};

// Runs the file dialog; the chosen path, empty when cancelled.
QString chooseFile(QWidget* parent, const FileChoice& choice);

} // namespace kestrel
