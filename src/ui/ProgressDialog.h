#pragma once

#include <QDialog>
#include <QPointer>

#include "sim/ProgressSink.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace kestrel {

// The window itself (object name "dialog170"): text "progressText", bar "progressBar", button
// "abortButton". Abort, Escape and the close box only raise the cancel flag; the window stays up
// until the operation closes it.
class ProgressWindow final : public QDialog
{
    Q_OBJECT

public:
    explicit ProgressWindow(QWidget* parent);

    QLabel* textLabel() const { return m_text; }
    QProgressBar* bar() const { return m_bar; }
    bool cancelRequested() const { return m_cancelRequested; }
    void clearCancel() { m_cancelRequested = false; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_text = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_abort = nullptr;
    bool m_cancelRequested = false;
    friend class ProgressDialog;
};

// The progress window of card operations: caption, a text of up to two lines, a bar from 0 to 100
// and "&Abort". It is application-modal while it shows, so the rest of the program takes no input
// while the card is worked on; each update lets the event loop handle what is already queued
// without ever waiting, which repaints the window and lets Abort be pressed.
class ProgressDialog final : public ProgressSink
{
public:
    explicit ProgressDialog(QWidget* parent = nullptr);
    ~ProgressDialog() override;
    ProgressDialog(const ProgressDialog&) = delete;
    ProgressDialog& operator=(const ProgressDialog&) = delete;

    bool open() override;
    void close() override;
    void setCaption(const QString& caption) override;
    void setText(const QString& text) override;
    void setPercent(int percent) override;
    bool processEvents() override;

    // The window (created on first use), null when its parent took it away.
    ProgressWindow* window();
    bool cancelRequested() const;

private:
    QPointer<QWidget> m_parent;
    QPointer<ProgressWindow> m_window;
};

} // namespace kestrel
