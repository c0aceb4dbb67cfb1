#include "model/Helpers.h"
#include "support/TempResources.h"

#include <QFile>
#include <QImage>
#include <QtEndian>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {
QByteArray bigEndian(quint32 v)
{
    QByteArray b(4, '\0');
    qToBigEndian(v, b.data());
    return b;
}

QByteArray pngChunk(const QByteArray& type, const QByteArray& data)
{
    const QByteArray body = type + data;
    return bigEndian(quint32(data.size())) + body
           + bigEndian(quint32(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()))));
}

// The start of a PNG picture of w by h pixels in 8-bit RGBA: its header and
// an empty first data chunk, no pixels.
QByteArray pngHeader(quint32 w, quint32 h)
{
    return QByteArray("\x89PNG\r\n\x1a\n", 8)
           + pngChunk("IHDR", bigEndian(w) + bigEndian(h) + QByteArray("\x08\x06\x00\x00\x00", 5))
           + pngChunk("IDAT", {});
}
}

TEST(CardPictures, LargePicturesLoadAndOthersSayWhatIsWrong)
{
    TempResources resources;
    const QString dir = resources.path();
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir + '/' + name);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    // Above Qt's default of 128 MB decoded, in a format that cannot scale while reading.
    QImage square(6000, 6000, QImage::Format_RGB32);
    square.fill(Qt::blue);
    ASSERT_TRUE(square.save(dir + "/square.png"));
    square = QImage();
    QImage small(40, 30, QImage::Format_RGB32);
    small.fill(Qt::green);
    ASSERT_TRUE(small.save(dir + "/small.png"));

    const struct {
        QString path;
        QSize size;      // of the picture read; empty when refused
        QString message; // the reason when refused
    } cases[] = {
        {dir + "/square.png", {4096, 4096}, ""},
        {dir + "/small.png", {40, 30}, ""}, // never scaled up
        {write("notes.png", "this is not a picture"), {}, Not_A_Picture_Message},
        {write("huge.png", pngHeader(60000, 60000)), {}, Picture_Too_Large_Message},
        {dir + "/missing.jpg", {}, Not_A_Picture_Message},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        QString error = "not cleared";
        const QImage image = Read_Image_File(c.path, &error);
        EXPECT_EQ(image.isNull(), c.size.isEmpty());
        if (!image.isNull()) {
            EXPECT_EQ(image.size(), c.size);
        }
        EXPECT_EQ(error, c.message) << error.toStdString();
    }
    EXPECT_EQ(Not_A_Picture_Message, "This file is not a picture Gleamcard can read.");
    EXPECT_EQ(Picture_Too_Large_Message, "This picture is too large.");
}
