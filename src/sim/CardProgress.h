#pragma once

#include <QString>

namespace kestrel {

class ProgressSink;

// The progress of card operations, as the SimCard keeps it: one window at a time, which nested
// begin/end pairs share (an inner step may open and close "its" progress while an outer one is
// showing), and the cancel flag that a press of Abort raises and that the next update reports.
// The window is a ProgressSink borrowed from the front end; without one (none given, or it could
// not be opened) every update is a no-op that never reports a cancel.
class CardProgress
{
public:
    CardProgress() = default;
    ~CardProgress();
    CardProgress(const CardProgress&) = delete;
    CardProgress& operator=(const CardProgress&) = delete;

    // Shows the window of parent, or nests into the one showing. titleId and textId (0: leave as
    // is) are string-table numbers; the text is shown without moving the bar. False when no window
    // could be shown.
    bool beginProgress(ProgressSink* parent, int textId, int titleId);
    // Leaves one nesting level, or (outermost level, or force) closes the window.
    void endProgress(bool force);
    // String textId (0: empty) through showProgress.
    bool showProgressText(int textId, int percent);
    // Shows text, moves the bar when percent <= 100, lets the window handle its events. False once
    // Abort has been pressed: the caller stops with 146.
    bool showProgress(const QString& text, int percent);
    // Progress of record i of n of a bulk loop: textId is a format with two "%u" (i and n); the
    // bar stands at 100 * i / n in read and scan loops, at 100 * (i - 1) / n in write loops.
    bool showProgressItem(int textId, unsigned i, unsigned n, bool writeLoop);

    bool showing() const { return m_window != nullptr; }
    int nesting() const { return m_nesting; }
    bool cancelRequested() const { return m_cancelRequested; }
    const QString& text() const { return m_text; }
    ProgressSink* parent() const { return m_parent; }

    // The text of a bulk-loop format with its two "%u" filled in.
    static QString itemText(int textId, unsigned i, unsigned n);

private:
    ProgressSink* m_parent = nullptr;
    ProgressSink* m_window = nullptr;
    QString m_text;
    bool m_cancelRequested = false;
    int m_nesting = 0;
};

} // namespace kestrel
