#pragma once

#include <optional>
#include <vector>

#include <QDialog>

#include "app/EditorKind.h"

class QComboBox;

namespace kestrel {

// "Kestrel! - Open File" (object name "openFileDialog"): asks which kind of file to open when no
// editor window is active. Combo box "fileType" with the kinds offered.
class FileTypeDialog final : public QDialog
{
    Q_OBJECT

public:
    FileTypeDialog(const std::vector<EditorKind>& kinds, QWidget* parent);

    // The kind chosen, none when cancelled.
    static std::optional<EditorKind> ask(const std::vector<EditorKind>& kinds, QWidget* parent);
    EditorKind chosen() const;

private:
    QComboBox* m_type = nullptr;
};

} // namespace kestrel
