#include "ui/CommandIcons.h"

#include <array>
#include <utility>

#include <QPainter>
#include <QPainterPath>

#include "base/StringIds.h"

namespace kestrel {

namespace {

constexpr std::array<std::pair<int, const char*>, 16> kThemeNames = {{
    {sid::OpenFile_2001, "document-open"},
    {sid::SaveFile_2002, "document-save"},
    {sid::Print_2003, "document-print"},
    {sid::EditPhoneBook_2005, "x-office-address-book"},
    {sid::AnotherPhoneBookWindow_2006, "contact-new"},
    {sid::EditSmsMessages_2007, "mail-unread"},
    {sid::AnotherWindowForSmsMessages_2008, "mail-message-new"},
    {sid::EnterPin_2009, "dialog-password"},
    {sid::FindReplaceF7_2011, "edit-find-replace"},
    {sid::FindReplaceNext_2012, "edit-find"},
    {sid::InsertItemIns_2014, "list-add"},
    {sid::DeleteItemDel_2015, "list-remove"},
    {sid::ClearSelectedItemsCtrlDel_2016, "edit-clear"},
    {sid::InternationalizePhoneBook_2017, "applications-internet"},
    {sid::InformationAboutSim_2019, "dialog-information"},
    {sid::SimCheckAndRepair_2020, "emblem-default"},
}};

const QColor kOutline(40, 40, 40);

// Drawings on a 24 x 24 grid.
void book(QPainter& p, const QColor& cover)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(cover);
    p.drawRoundedRect(QRectF(5, 3, 14, 18), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 6, 8, 4));
    p.setPen(QPen(Qt::white, 1.2));
    p.drawLine(QPointF(7, 3.5), QPointF(7, 20.5));
}

void envelope(QPainter& p)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(250, 246, 225));
    p.drawRect(QRectF(3, 6, 18, 12));
    p.drawPolyline(QPolygonF({QPointF(3, 6), QPointF(12, 13), QPointF(21, 6)}));
}

void plus(QPainter& p, const QPointF& c, double r, const QColor& color)
{
    p.setPen(QPen(color, r * 0.7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c - QPointF(r, 0), c + QPointF(r, 0));
    p.drawLine(c - QPointF(0, r), c + QPointF(0, r));
}

void magnifier(QPainter& p)
{
    p.setPen(QPen(kOutline, 2));
    p.setBrush(QColor(200, 225, 250));
    p.drawEllipse(QRectF(4, 4, 11, 11));
    p.setPen(QPen(kOutline, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, 14), QPointF(20, 20));
}

void arrowRight(QPainter& p, const QPointF& at, const QColor& color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF({at, at + QPointF(-5, -4), at + QPointF(-5, 4)}));
}

void draw(QPainter& p, int id)
{
    switch (id) {
    case sid::OpenFile_2001: // a folder
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(230, 190, 80));
        p.drawPolygon(
            QPolygonF({QPointF(2, 6), QPointF(9, 6), QPointF(11, 8), QPointF(21, 8), QPointF(21, 19), QPointF(2, 19)}));
        p.setBrush(QColor(250, 215, 110));
        p.drawPolygon(QPolygonF({QPointF(5, 11), QPointF(23, 11), QPointF(20, 19), QPointF(2, 19)}));
        break;
    case sid::SaveFile_2002: // a floppy disk
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(60, 90, 170));
        p.drawRect(QRectF(3, 3, 18, 18));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 3, 12, 7));
        p.setBrush(QColor(180, 180, 180));
        p.drawRect(QRectF(7, 14, 10, 7));
        break;
    case sid::Print_2003: // a printer
        p.setPen(QPen(kOutline, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3, 10, 8));
        p.setBrush(QColor(150, 150, 150));
        p.drawRoundedRect(QRectF(3, 10, 18, 8), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 15, 10, 6));
        break;
    case sid::EditPhoneBook_2005:
        book(p, QColor(170, 40, 40));
        break;
    case sid::AnotherPhoneBookWindow_2006:
        book(p, QColor(170, 40, 40));
        plus(p, QPointF(18, 18), 4, QColor(0, 140, 0));
        break;
    case sid::EditSmsMessages_2007:
        envelope(p);
        break;
    case sid::AnotherWindowForSmsMessages_2008:
        envelope(p);
        plus(p, QPointF(18, 18), 4, QColor(0, 140, 0));
        break;
    case sid::EnterPin_2009: // a key
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(230, 190, 60));
        p.drawEllipse(QRectF(2, 7, 10, 10));
        p.drawRect(QRectF(11, 10.5, 11, 3));
        p.drawRect(QRectF(17, 13, 2, 4));
        p.drawRect(QRectF(20, 13, 2, 3));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(5, 10.5, 3, 3));
        break;
    case sid::FindReplaceF7_2011:
        magnifier(p);
        break;
    case sid::FindReplaceNext_2012:
        magnifier(p);
        arrowRight(p, QPointF(23, 5), QColor(0, 120, 0));
        break;
    case sid::InsertItemIns_2014:
        plus(p, QPointF(12, 12), 7, QColor(0, 140, 0));
        break;
    case sid::DeleteItemDel_2015:
        p.setPen(QPen(QColor(190, 20, 20), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 6), QPointF(18, 18));
        p.drawLine(QPointF(18, 6), QPointF(6, 18));
        break;
    case sid::ClearSelectedItemsCtrlDel_2016: // selected rows struck out
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(160, 190, 240));
        p.drawRect(QRectF(3, 5, 18, 4));
        p.drawRect(QRectF(3, 11, 18, 4));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 17, 18, 4));
        p.setPen(QPen(QColor(190, 20, 20), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 15), QPointF(19, 5));
        break;
    case sid::InternationalizePhoneBook_2017: // a globe
        p.setPen(QPen(QColor(20, 60, 140), 1.3));
        p.setBrush(QColor(150, 200, 250));
        p.drawEllipse(QRectF(3, 3, 18, 18));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(8, 3, 8, 18));
        p.drawLine(QPointF(3, 12), QPointF(21, 12));
        p.drawLine(QPointF(12, 3), QPointF(12, 21));
        break;
    case sid::InformationAboutSim_2019: // information
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 200));
        p.drawEllipse(QRectF(2, 2, 20, 20));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(10.5, 5, 3, 3));
        p.drawRect(QRectF(10.5, 10, 3, 9));
        break;
    case sid::SimCheckAndRepair_2020: // a card with a check mark
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(31, 58, 147));
        p.drawPolygon(QPolygonF({QPointF(4, 2), QPointF(15, 2), QPointF(20, 7), QPointF(20, 22), QPointF(4, 22)}));
        p.setPen(QPen(QColor(90, 220, 90), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(7, 13), QPointF(11, 17), QPointF(18, 8)}));
        break;
    default:
        break;
    }
}

} // namespace

QString CommandIcons::themeName(int buttonId)
{
    for (const auto& [id, name] : kThemeNames) {
        if (id == buttonId)
            return QString::fromLatin1(name);
    }
    return {};
}

QPixmap CommandIcons::drawn(int buttonId, int size)
{
    if (themeName(buttonId).isEmpty())
        return {};
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    draw(p, buttonId);
    return pixmap;
}

QIcon CommandIcons::icon(int buttonId)
{
    const QString name = themeName(buttonId);
    if (name.isEmpty())
        return {};
    QIcon fallback;
    for (const int size : {16, 24, 32})
        fallback.addPixmap(drawn(buttonId, size));
    return QIcon::fromTheme(name, fallback);
}

QPixmap CommandIcons::drawnAppIcon(int size)
{
    // The drawing of resources/kestrel.svg on its 64 x 64 grid.
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    QPainterPath card;
    card.moveTo(10, 4);
    card.lineTo(44, 4);
    card.lineTo(56, 16);
    card.lineTo(56, 58);
    card.quadTo(56, 60, 54, 60);
    card.lineTo(10, 60);
    card.quadTo(8, 60, 8, 58);
    card.lineTo(8, 6);
    card.quadTo(8, 4, 10, 4);
    p.setPen(QPen(QColor(0x0b, 0x1d, 0x4d), 2));
    p.setBrush(QColor(0x1f, 0x3a, 0x93));
    p.drawPath(card);

    QPainterPath bird;
    bird.moveTo(14, 22);
    bird.quadTo(22, 10, 32, 19);
    bird.quadTo(42, 10, 50, 22);
    bird.quadTo(42, 17, 32, 25);
    bird.quadTo(22, 17, 14, 22);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe0, 0x7a, 0x2e));
    p.drawPath(bird);

    p.setPen(QPen(QColor(0x9c, 0x7a, 0x1e), 1.5));
    p.setBrush(QColor(0xe8, 0xc2, 0x5a));
    p.drawRoundedRect(QRectF(18, 32, 28, 20), 3, 3);
    p.drawLine(QPointF(18, 39), QPointF(30, 39));
    p.drawLine(QPointF(18, 45), QPointF(30, 45));
    p.drawLine(QPointF(34, 39), QPointF(46, 39));
    p.drawLine(QPointF(34, 45), QPointF(46, 45));
    p.drawLine(QPointF(32, 32), QPointF(32, 52));
    return pixmap;
}

QIcon CommandIcons::appIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(drawnAppIcon(size));
    return icon;
}

} // namespace kestrel
