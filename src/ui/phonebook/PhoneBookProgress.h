#pragma once

#include <QDialog>
#include <QPointer>

#include "sim/ProgressSink.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace kestrel {

// The progress window of a phone book window's card work: caption, a text of up to two lines, a
// bar and "&Abort". Application-modal while it shows, so that nothing else takes input while the
// card is being read or written; each update lets it repaint and notice a press of Abort (or
// Escape, or its close box).
class PhoneBookProgress final : public ProgressSink
{
public:
    explicit PhoneBookProgress(QWidget* parent);
    ~PhoneBookProgress() override;
    PhoneBookProgress(const PhoneBookProgress&) = delete;
    PhoneBookProgress& operator=(const PhoneBookProgress&) = delete;

    bool open() override;
    void close() override;
    void setCaption(const QString& caption) override;
    void setText(const QString& text) override;
    void setPercent(int percent) override;
    bool processEvents() override;

    QDialog* dialog() const { return m_dialog; }

private:
    QPointer<QDialog> m_dialog;
    QLabel* m_text = nullptr;
    QProgressBar* m_bar = nullptr;
    bool m_abort = false;
};

} // namespace kestrel
