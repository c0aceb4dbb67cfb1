#include "model/Pictures.h"

#include <QImageReader>
#include <algorithm>
#include <mutex>
#include <unistd.h>

const QString Not_A_Picture_Message = QStringLiteral("This file is not a picture Gleamcard can read.");
const QString Picture_Too_Large_Message = QStringLiteral("This picture is too large.");

namespace {
// What a decoded picture may take: a quarter of the machine's memory, between
// 256 MB and 2 GB (Qt's own default of 128 MB refuses a 48-megapixel photo).
int Picture_Memory_Limit_MB()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    const qint64 quarter = pages > 0 && pageSize > 0 ? qint64(pages) * pageSize / 4 / (1024 * 1024) : 0;
    return int(std::clamp<qint64>(quarter, 256, 2048));
}
}

QImage Read_Card_Picture(const QString& path, QString* error)
{
    static std::once_flag limitSet;
    std::call_once(limitSet, [] { QImageReader::setAllocationLimit(Picture_Memory_Limit_MB()); });
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return QImage();
    };
    if (path.isEmpty())
        return fail(Not_A_Picture_Message);
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return fail(Not_A_Picture_Message);
    const QSize size = reader.size();
    // Only the JPEG reader scales while it decodes; the others decode the
    // whole picture first, which must fit in the limit.
    const bool tooLarge = size.isValid()
                          && qint64(size.width()) * size.height() * 4
                                 > qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (tooLarge && reader.format() != "jpeg")
        return fail(Picture_Too_Large_Message);
    if (size.isValid() && std::max(size.width(), size.height()) > Card_Picture_Max_Side)
        reader.setScaledSize(size.scaled(Card_Picture_Max_Side, Card_Picture_Max_Side, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    if (image.isNull())
        return fail(tooLarge ? Picture_Too_Large_Message : Not_A_Picture_Message);
    if (error)
        error->clear();
    return image;
}

QRectF Fit_Picture_In_Box(const QRectF& box, const QSizeF& picture)
{
    if (picture.isEmpty() || box.isEmpty())
        return box;
    const QSizeF fitted = picture.scaled(box.size(), Qt::KeepAspectRatio);
    return QRectF(box.center().x() - fitted.width() / 2, box.center().y() - fitted.height() / 2, fitted.width(),
                  fitted.height());
}
