#include "ui/FileChooser.h"

#include "base/StringTable.h"

namespace kestrel {

QString chooseFile(QWidget* parent, const FileChoice& choice)
{
    QFileDialog dialog(parent, StringTable::text(choice.titleId));
    dialog.setObjectName(QLatin1String(choice.objectName));
    dialog.setNameFilters(choice.filters);
    dialog.setAcceptMode(choice.accept);
    dialog.setFileMode(choice.mode);
    if (!choice.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(choice.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace kestrel
