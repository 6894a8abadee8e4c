#pragma once

#include <QIcon>
#include <QPixmap>

namespace kestrel {

// Icons of the button bar (ids 2001-2020): the desktop theme's icon for the action when the theme
// has one, else a small drawing of our own.
class CommandIcons
{
public:
    static QIcon icon(int buttonId);
    // The freedesktop icon name tried first; empty for ids without a button.
    static QString themeName(int buttonId);
    // Our own drawing of the button's picture; a null pixmap for ids without a button.
    static QPixmap drawn(int buttonId, int size = 24);

    // The program's icon (resources/kestrel.svg, drawn in code so no image plug-in is needed).
    static QIcon appIcon();
    static QPixmap drawnAppIcon(int size);
};

} // namespace kestrel
