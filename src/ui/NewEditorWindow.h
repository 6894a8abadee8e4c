#pragma once

#include "app/EditorKind.h"
#include "app/MainCommands.h"
#include "ui/MainWindow.h"

namespace kestrel {

// A new, empty editor window of a kind (no card read, no file), null when none could be made (all
// slots of the kind in use).
template <typename Window>
Window* newEditorWindow(MainWindow& window, EditorKind kind)
{
    EditorRequest request;
    request.kind = kind;
    request.createNew = true;
    request.readMode = -1;
    return qobject_cast<Window*>(window.openEditor(request));
}

} // namespace kestrel
