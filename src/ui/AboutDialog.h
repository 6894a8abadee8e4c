#pragma once

#include <QDialog>

namespace kestrel {

// The program information (object name "aboutDialog"): name, version, what the program is, the
// Qt version and the licence. At start-up it shows without blocking and closes itself after a
// few seconds or at a click anywhere on it.
class AboutDialog final : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kStartupMilliseconds = 4000;

    explicit AboutDialog(QWidget* parent);

    // Shows it modeless; it goes away after `milliseconds` or at a click, and deletes itself.
    void showForStartup(int milliseconds = kStartupMilliseconds);
    // The version shown ("4.0").
    static QString version();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool m_closeOnClick = false;
};

} // namespace kestrel
