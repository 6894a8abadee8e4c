#pragma once

#include <QString>

namespace kestrel {

// The window a card operation shows its progress in: a caption, a text of up to two lines, a bar
// from 0 to 100 and an Abort button. The desktop shows a dialog; the command line writes to the
// terminal; tests record. The sink belongs to the front end; CardProgress only borrows it between
// open and close.
class ProgressSink
{
public:
    virtual ~ProgressSink() = default;

    // Shows the window. False when it cannot be shown; the work then goes on without one.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual void setText(const QString& text) = 0;
    virtual void setPercent(int percent) = 0;
    // Lets the window handle what is waiting for it (repaint, a press of Abort or Escape) without
    // ever waiting itself. True when Abort was pressed since the last call.
    virtual bool processEvents() = 0;
};

} // namespace kestrel
