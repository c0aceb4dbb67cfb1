#include "output/Card_Output.h"

#include "model/Helpers.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <exception>

Sides_Choice Sides_Choice_From_Code(const QString& code)
{
    if (code == Side_Code_Both)
        return Sides_Choice::Both;
    if (code == Side_Code_Back)
        return Sides_Choice::Back;
    return Sides_Choice::Front;
}

Card_Faces Render_Card_Sides(Sides_Choice choice, const std::function<QImage(Card_Side)>& render)
{
    Card_Faces faces;
    if (choice != Sides_Choice::Front)
        faces.back = render(Side_Back);
    if (choice != Sides_Choice::Back)
        faces.front = render(Side_Front);
    return faces;
}

QImage Combined_Card_Image(const QImage& front, const QImage& back)
{
    if (front.isNull() || back.isNull()) {
        Show_NSLog_Message(QStringLiteral("Invalid image"));
        return {};
    }
    // Drawn pixel for pixel; the scale is put back on the result.
    QImage top = front, bottom = back;
    top.setDevicePixelRatio(1);
    bottom.setDevicePixelRatio(1);
    const int w = top.width(), h = top.height();
    QImage combined(w, 2 * h, QImage::Format_ARGB32_Premultiplied);
    combined.fill(Qt::transparent);
    QPainter p(&combined);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, top);
    p.drawImage(0, h, bottom);
    p.end();
    combined.setDevicePixelRatio(front.devicePixelRatio());
    return combined;
}

QString Back_Card_Path(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf('.');
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString ext = dot > 0 ? name.mid(dot + 1) : QString();
    const QString backName = base + QStringLiteral("_Back") + (ext.isEmpty() ? QString() : '.' + ext);
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? backName : path.left(slash + 1) + backName;
}

QStringList Card_File_Types()
{
    const QList<QByteArray> writable = QImageWriter::supportedImageFormats();
    QStringList types;
    for (const char* type : {"png", "jpg", "bmp", "tiff"})
        if (writable.contains(QByteArray(type)))
            types << QString::fromLatin1(type);
    return types;
}

QByteArray Card_Image_Format(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return "JPEG";
    if (ext == QLatin1String("tif") || ext == QLatin1String("tiff"))
        return "TIFF";
    if (ext == QLatin1String("bmp"))
        return "BMP";
    return "PNG";
}

namespace {
// The image as it goes into a file of the format: on white where the format
// keeps no transparency (the corners of a rounded or oval card), and with the
// resolution its scale stands for.
QImage Image_For_File(const QImage& image, const QByteArray& format)
{
    QImage out;
    if (format == "JPEG" || format == "BMP") {
        out = QImage(image.size(), QImage::Format_RGB32);
        out.fill(Qt::white);
        QImage source = image;
        source.setDevicePixelRatio(1);
        QPainter p(&out);
        p.drawImage(0, 0, source);
    } else {
        out = image;
    }
    const qreal dpi = 72.0 * image.devicePixelRatio();
    const int dotsPerMeter = qRound(dpi / 0.0254);
    out.setDevicePixelRatio(1);
    out.setDotsPerMeterX(dotsPerMeter);
    out.setDotsPerMeterY(dotsPerMeter);
    return out;
}
}

void Show_Card_Write_Failure(const QString& path, const QString& reason)
{
    Show_MessageBox(path);
    Show_MessageBox(reason);
}

bool Save_Card_Image(const QImage& image, const QString& path, bool show_errors, QString* error)
{
    try {
        if (QFileInfo(path).isDir()) {
            const QString reason = QStringLiteral("The path is a folder, not a file.");
            if (error)
                *error = reason;
            if (show_errors)
                Show_Card_Write_Failure(path, reason);
            Show_NSLog_Message(QStringLiteral("%1 is a folder").arg(path));
            return false;
        }
        const QByteArray format = Card_Image_Format(path);
        QSaveFile file(path);
        QImageWriter writer(&file, format);
        if (format == "JPEG")
            writer.setQuality(92);
        bool ok = !image.isNull() && file.open(QIODevice::WriteOnly);
        ok = ok && writer.write(Image_For_File(image, format));
        ok = ok && file.commit();
        if (!ok) {
            QString reason = file.errorString();
            if (image.isNull())
                reason = QStringLiteral("There is no image to write.");
            else if (writer.error() != QImageWriter::UnknownError)
                reason = writer.errorString();
            file.cancelWriting();
            Show_NSLog_Message(QStringLiteral("%1: %2").arg(path, reason));
            if (error)
                *error = reason;
            if (show_errors)
                Show_Card_Write_Failure(path, reason);
        }
        return ok;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return false;
    }
}

void Write_Card_Faces(Sides_Choice choice, bool combined, const Card_Faces& faces, const QString& path,
                      const QString& back_path, const Card_Image_Writer& write, Faces_Written& count)
{
    auto one = [&](const QImage& image, const QString& to) {
        if (write(image, to))
            ++count.written;
        else
            ++count.failed;
    };
    if (choice == Sides_Choice::Both && combined) {
        const QImage both = Combined_Card_Image(faces.front, faces.back);
        if (both.isNull())
            ++count.failed;
        else
            one(both, path);
        return;
    }
    if (choice != Sides_Choice::Front && !back_path.isEmpty())
        one(faces.back, back_path);
    if (choice != Sides_Choice::Back)
        one(faces.front, path);
}
