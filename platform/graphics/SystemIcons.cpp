#include "platform/graphics/SystemIcons.h"

#include <QFileInfo>
#include <QPainter>

namespace systemicons {

namespace {

QImage Glyph(int Index, int Size)
{
    QImage img(Size, Size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const qreal u = Size / 16.0;
    p.scale(u, u);
    p.setPen(QPen(QColor(90, 90, 90), 1 / u));
    if (Index == IconFolder) {
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(QRectF(1.5, 4.5, 13, 9));
        p.drawRect(QRectF(1.5, 2.5, 5, 2));
    } else {
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({ { 3.5, 1.5 }, { 10.5, 1.5 }, { 13.5, 4.5 }, { 13.5, 14.5 }, { 3.5, 14.5 } }));
        p.drawLine(QPointF(5.5, 7.5), QPointF(11.5, 7.5));
        p.drawLine(QPointF(5.5, 10.5), QPointF(11.5, 10.5));
    }
    return img;
}

} // namespace

QImage IconByIndex(int Index, bool Large)
{
    if (Index < 0 || Index >= IconCount)
        return QImage();
    static QImage cache[2][IconCount];
    QImage& slot = cache[Large ? 1 : 0][Index];
    if (slot.isNull())
        slot = Glyph(Index, Large ? 32 : 16);
    return slot;
}

QImage Icon(const QString& Name, bool Large)
{
    bool number = false;
    const int index = Name.toInt(&number);
    if (number)
        return IconByIndex(index, Large);
    const QFileInfo info(Name);
    if (!Name.isEmpty() && info.exists())
        return IconByIndex(info.isDir() ? IconFolder : IconFile, Large);
    return IconByIndex(IconFile, Large);
}

} // namespace systemicons
