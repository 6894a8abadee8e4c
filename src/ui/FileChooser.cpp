#include "ui/FileChooser.h"

#include <QRegularExpression>

#include "base/StringTable.h"

namespace kestrel {

QString chooseFile(QWidget* parent, const FileChoice& choice)
{
    QFileDialog dialog(parent, StringTable::text(choice.titleId));
    dialog.setObjectName(QLatin1String(choice.objectName));
    dialog.setNameFilters(choice.filters);
    dialog.setAcceptMode(choice.accept);
    dialog.setFileMode(choice.mode);
    if (!choice.defaultSuffix.isEmpty()) {
        dialog.setDefaultSuffix(choice.defaultSuffix);
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &choice](const QString& filter) {
            static const QRegularExpression extension(QStringLiteral("\\(\\*\\.(\\w+)"));
            const QRegularExpressionMatch m = extension.match(filter);
            dialog.setDefaultSuffix(m.hasMatch() ? m.captured(1) : choice.defaultSuffix);
        });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace kestrel
