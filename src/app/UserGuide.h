#pragma once

#include <optional>

#include <QString>

#include "app/EditorKind.h"

namespace kestrel::UserGuide {

// The guide's first page, with its table of contents.
inline constexpr const char* kContents = "index.html";

// The page Help -> User Guide opens: the one about the active editor window, the first page
// without one.
QString pageFor(std::optional<EditorKind> active);

} // namespace kestrel::UserGuide
