#pragma once

#include <optional>

#include <QWidget>

namespace kestrel {

// The banner of the main window's client area: grey (128,128,128) with "K e s t r e l !" in 60-point "ARIAL",
// dark blue (0,0,128), when the client area is at least 450 x 150 pixels. The text is centred
// horizontally, with its baseline at the middle of the part of the client area that starts 77
// pixels below its top. The client area begins at the top of the button bar, `clientOffset`
// pixels above this widget.
class BannerWidget final : public QWidget
{
    Q_OBJECT

public:
    explicit BannerWidget(QWidget* parent = nullptr);

    void setClientOffset(int pixels);
    int clientOffset() const { return m_offset; }

    // Where the text's baseline centre lies in client coordinates; none when the client area is
    // too small for the banner.
    static std::optional<QPoint> bannerAnchor(const QSize& client);
    // Whether the last paint drew the text (tests).
    bool textShown() const { return m_textShown; }

    // A band on top of the main window's area, tall enough for the text; it gives way entirely
    // when the window is shrunk to its bars.
    QSize sizeHint() const override { return {450, 130}; }
    QSize minimumSizeHint() const override { return {0, 0}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_offset = 0;
    bool m_textShown = false;
};

} // namespace kestrel
