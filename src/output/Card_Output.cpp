#include "output/Card_Output.h"

#include "model/Helpers.h"

#include <QFileInfo>
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
    const int w = front.width(), h = front.height();
    QImage combined(w, 2 * h, QImage::Format_ARGB32_Premultiplied);
    combined.fill(Qt::transparent);
    QPainter p(&combined);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, front);
    p.drawImage(0, h, back);
    p.end();
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

bool Save_Card_Image(const QImage& image, const QString& path, bool show_errors)
{
    try {
        if (QFileInfo(path).isDir()) {
            if (show_errors) {
                Show_MessageBox(path);
                Show_MessageBox(QStringLiteral("The path is a folder, not a file."));
            }
            Show_NSLog_Message(QStringLiteral("%1 is a folder").arg(path));
            return false;
        }
        QImage out = image;
        // One pixel per point: 72 dots per inch.
        out.setDotsPerMeterX(2835);
        out.setDotsPerMeterY(2835);
        QSaveFile file(path);
        const bool ok = !image.isNull() && file.open(QIODevice::WriteOnly) && out.save(&file, "PNG") && file.commit();
        if (!ok) {
            const QString reason = image.isNull() ? QStringLiteral("There is no image to write.") : file.errorString();
            file.cancelWriting();
            Show_NSLog_Message(QStringLiteral("%1: %2").arg(path, reason));
            if (show_errors) {
                Show_MessageBox(path);
                Show_MessageBox(reason);
            }
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
