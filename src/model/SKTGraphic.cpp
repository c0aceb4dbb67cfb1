#include "model/SKTGraphic.h"

#include "model/Card_Property.h"
#include "model/Fonts.h"
#include "model/Globals.h"
#include "model/Helpers.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QPaintDevice>
#include <QPainter>
#include <list>

namespace {
// Pictures read lately, by file. A batch that puts the same file into row
// after row shares one image: nothing is decoded twice, and a printed PDF
// embeds each picture once. A file changed on disk is read again. The
// pictures kept stay within a memory budget; the latest is always kept.
class Picture_Cache {
public:
    QImage read(const QString& path)
    {
        const QFileInfo info(path);
        const QDateTime modified = info.lastModified();
        const qint64 size = info.size();
        {
            QMutexLocker lock(&mutex);
            for (auto it = entries.begin(); it != entries.end(); ++it) {
                if (it->path == path && it->modified == modified && it->size == size) {
                    entries.splice(entries.begin(), entries, it);
                    return entries.front().image;
                }
            }
        }
        const QImage image = Read_Image_File(path);
        if (image.isNull())
            return image;
        QMutexLocker lock(&mutex);
        entries.remove_if([&](const Entry& e) {
            if (e.path != path)
                return false;
            bytes -= e.image.sizeInBytes();
            return true;
        });
        entries.push_front({path, modified, size, image});
        bytes += image.sizeInBytes();
        while (bytes > kBudget && entries.size() > 1) {
            bytes -= entries.back().image.sizeInBytes();
            entries.pop_back();
        }
        return image;
    }

private:
    static constexpr qint64 kBudget = qint64(256) << 20;
    struct Entry {
        QString path;
        QDateTime modified;
        qint64 size;
        QImage image;
    };
    QMutex mutex;
    std::list<Entry> entries;
    qint64 bytes = 0;
};

Picture_Cache& pictures()
{
    static Picture_Cache cache;
    return cache;
}
}

QFont Default_Barcode_Font()
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(10);
    return font;
}

void SKTGraphic::draw(QPainter& painter) const
{
    if (isDrawingFill)
        painter.fillRect(bounds, fillColor);
    drawContent(painter);
    if (isDrawingStroke && strokeWidth > 0) {
        painter.save();
        painter.setPen(QPen(strokeColor, strokeWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(bounds);
        painter.restore();
    }
}

SKTText::SKTText()
    : font(Font_From_PostScript_Name(QStringLiteral("TimesNewRomanPS-ItalicMT"), 14))
{
}

void SKTText::drawContent(QPainter& painter) const
{
    painter.save();
    painter.setPen(textColor);
    Draw_Card_Text(painter, bounds, text, font, alignment);
    painter.restore();
}

void Style_Party_Text(SKTText& text, const QString& ctrl_ID)
{
    static const QStringList centred = {"PARTY_TITLE", "PARTY_DATE", "PARTY_TIME", "PARTY_VENUE", "PARTY_MARRINGE_INFO"};
    if (centred.contains(ctrl_ID))
        text.alignment = Qt::AlignHCenter;
    else if (ctrl_ID == QLatin1String("PARTY_FROM"))
        text.alignment = Qt::AlignRight;
    if (ctrl_ID == QLatin1String("PARTY_TITLE") || ctrl_ID == QLatin1String("PARTY_MARRINGE_INFO"))
        text.font = Font_From_PostScript_Name(QStringLiteral("TimesNewRomanPS-BoldItalicMT"), 18);
}

qreal SKTText::Text_Height(qreal width) const
{
    return Card_Text_Height(text, font, width);
}

qreal SKTText::Text_Width() const
{
    return Card_Text_Width(text, font);
}

void SKTImage::setFilePath(const QString& path)
{
    _filePath = path;
    if (control_ID == QLatin1String("PARTY_IMAGE")) {
        image = Get_Main_Photo_image();
        return;
    }
    QString standard = path;
    if (standard.startsWith(QLatin1String("~/")))
        standard = QDir::homePath() + standard.mid(1);
    standard = QDir::cleanPath(standard);
    image = standard.isEmpty() ? QImage() : pictures().read(standard);
}

void SKTImage::drawContent(QPainter& painter) const
{
    const QImage shown = control_ID == QLatin1String("PARTY_IMAGE") ? Get_Main_Photo_image() : image;
    if (shown.isNull())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(bounds, shown);
    painter.restore();
}

QRectF SKTBarcode::drawingBounds() const
{
    if (_barcode_image.isNull())
        return bounds;
    // Measured in doubles: QRect::size() overflows for a picture reaching past the int range.
    const QRect r = _barcode_image.boundingRect();
    const QSizeF size(double(r.right()) - r.left() + 1, double(r.bottom()) - r.top() + 1);
    return QRectF(bounds.topLeft(), size * double(barcode_scale));
}

void SKTBarcode::drawContent(QPainter& painter) const
{
    if (barcode_scale == 1.0f) {
        _barcode_image.draw(painter, bounds.topLeft());
        return;
    }
    painter.save();
    painter.translate(bounds.topLeft());
    painter.scale(barcode_scale, barcode_scale);
    _barcode_image.draw(painter);
    painter.restore();
}

void SKTBarcode::Keep_Inside_Card(const QSizeF& card)
{
    barcode_scale = 1.0f;
    const QRectF natural = drawingBounds();
    const QRectF placed = ::Keep_Inside_Card(natural, card);
    bounds.moveTopLeft(placed.topLeft());
    if (natural.width() > 0)
        barcode_scale = std::min(1.0f, float(placed.width() / natural.width()));
}

GraphicPtr Make_Graphic(GraphicKind kind)
{
    switch (kind) {
    case GraphicKind::Text: return std::make_shared<SKTText>();
    case GraphicKind::Image: return std::make_shared<SKTImage>();
    case GraphicKind::Barcode: return std::make_shared<SKTBarcode>();
    }
    return nullptr;
}

GraphicPtr Copy_Graphic(const SKTGraphic& graphic)
{
    switch (graphic.kind()) {
    case GraphicKind::Text: return std::make_shared<SKTText>(static_cast<const SKTText&>(graphic));
    case GraphicKind::Image: return std::make_shared<SKTImage>(static_cast<const SKTImage&>(graphic));
    case GraphicKind::Barcode: return std::make_shared<SKTBarcode>(static_cast<const SKTBarcode&>(graphic));
    }
    return nullptr;
}

void Copy_Binding(const SKTGraphic& from, SKTGraphic& to)
{
    to.data_source_type = from.data_source_type;
    to.batch_list_name = from.batch_list_name;
    to.batch_list_index = from.batch_list_index;
    to.excel_binding = from.excel_binding;
    to.excel_col_indx = from.excel_col_indx;
}

namespace {
QImage placeholderOn(const QColor& ground)
{
    QImage img(120, 90, QImage::Format_ARGB32_Premultiplied);
    img.fill(ground);
    QPainter p(&img);
    p.setPen(QPen(QColor(150, 150, 150), 2));
    p.drawRect(img.rect().adjusted(1, 1, -2, -2));
    p.drawLine(0, 0, img.width(), img.height());
    p.drawLine(0, img.height(), img.width(), 0);
    return img;
}
}

QImage Placeholder_Image() { return placeholderOn(QColor(220, 220, 220)); }
QImage Missing_Picture_Image() { return placeholderOn(QColor(220, 220, 220, 90)); }
