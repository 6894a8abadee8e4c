#include "ui/BannerWidget.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/UiText.h"

namespace kestrel {

BannerWidget::BannerWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("banner"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(0, 0);
}

void BannerWidget::setClientOffset(int pixels)
{
    if (pixels != m_offset) {
        m_offset = pixels;
        update();
    }
}

std::optional<QPoint> BannerWidget::bannerAnchor(const QSize& client)
{
    if (client.width() < 450 || client.height() < 150)
        return std::nullopt;
    constexpr int kTopGap = 77;
    return QPoint(client.width() / 2, kTopGap + (client.height() - kTopGap) / 2);
}

void BannerWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(128, 128, 128));
    const std::optional<QPoint> anchor = bannerAnchor(QSize(width(), height() + m_offset));
    m_textShown = anchor.has_value();
    if (!anchor)
        return;
    QFont font(QStringLiteral("ARIAL"));
    font.setPointSize(60);
    p.setFont(font);
    p.setPen(QColor(0, 0, 128));
    const QString text = uiText(strId(sid::KESTR_9301));
    const int width = QFontMetrics(font, this).horizontalAdvance(text);
    p.drawText(QPoint(anchor->x() - width / 2, anchor->y() - m_offset), text);
}

} // namespace kestrel
