// Bitmaps: sizing, transparency, files and copies.
#include "platform/Bitmap.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Platform;

namespace {

std::string PathIn(const QTemporaryDir& Dir, const char* Name) {
    return QDir(Dir.path()).filePath(Name).toStdString();
}

} // namespace

TEST(Bitmap, SizingKeepsPixelsAndFillsNewAreaWhite) {
    TBitmap B;
    EXPECT_TRUE(B.Empty());
    EXPECT_EQ(B.Width(), 0);
    EXPECT_EQ(B.Canvas()->Pixel(0, 0), clNone);
    B.Canvas()->Rectangle(0, 0, 5, 5); // nothing to draw on yet: harmless
    // Width first, height later, as property-by-property code does it.
    B.SetWidth(4);
    EXPECT_TRUE(B.Empty());
    EXPECT_EQ(B.Width(), 4);
    B.SetHeight(3);
    EXPECT_FALSE(B.Empty());
    EXPECT_EQ(B.Image().size(), QSize(4, 3));
    EXPECT_EQ(B.Image().format(), QImage::Format_RGB32);
    EXPECT_EQ(B.Canvas()->Pixel(3, 2), clWhite);
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect(Rect(0, 0, 4, 3));
    B.SetSize(6, 2);
    EXPECT_EQ(B.Canvas()->Pixel(3, 1), clRed);
    EXPECT_EQ(B.Canvas()->Pixel(4, 1), clWhite);
    EXPECT_EQ(B.Canvas()->Pixel(0, 2), clNone);
    // The canvas follows the new image.
    B.Canvas()->SetPixel(5, 1, clBlue);
    EXPECT_EQ(QColor(B.Image().pixel(5, 1)), QColor(Qt::blue));
}

TEST(Bitmap, TransparentColourIsBottomLeftUntilFixed) {
    TBitmap B;
    EXPECT_EQ(B.TransparentColor(), clDefault);
    B.SetSize(3, 3);
    B.Canvas()->SetPixel(0, 2, clLime);
    EXPECT_EQ(B.TransparentMode(), tmAuto);
    EXPECT_EQ(B.TransparentColor(), clLime);
    B.SetTransparentColor(clRed);
    EXPECT_EQ(B.TransparentMode(), tmFixed);
    EXPECT_EQ(B.TransparentColor(), clRed);
    B.SetTransparentMode(tmAuto);
    EXPECT_EQ(B.TransparentColor(), clLime);
}

TEST(Bitmap, LoadsBmpAndPngFiles) {
    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    QImage Picture(5, 4, QImage::Format_RGB32);
    Picture.fill(QColor(10, 20, 30));
    Picture.setPixel(4, 3, qRgb(200, 100, 0));
    ASSERT_TRUE(Picture.save(QString::fromStdString(PathIn(Dir, "p.bmp")), "BMP"));
    ASSERT_TRUE(Picture.save(QString::fromStdString(PathIn(Dir, "p.png")), "PNG"));
    for (const char* Name : {"p.bmp", "p.png"}) {
        TBitmap B;
        B.LoadFromFile(PathIn(Dir, Name));
        EXPECT_EQ(B.Width(), 5) << Name;
        EXPECT_EQ(B.Height(), 4) << Name;
        EXPECT_EQ(B.Canvas()->Pixel(0, 0), RGB(10, 20, 30)) << Name;
        EXPECT_EQ(B.Canvas()->Pixel(4, 3), RGB(200, 100, 0)) << Name;
        B.Canvas()->Pen()->SetMode(pmXor); // loaded images are drawable
        B.Canvas()->Pen()->SetColor(clWhite);
        B.Canvas()->MoveTo(0, 0);
        B.Canvas()->LineTo(2, 0);
        EXPECT_EQ(B.Canvas()->Pixel(1, 0), RGB(245, 235, 225)) << Name;
    }

    // An alpha channel is kept, and blends when drawn.
    QImage Alpha(2, 1, QImage::Format_ARGB32);
    Alpha.setPixel(0, 0, qRgba(255, 0, 0, 0));
    Alpha.setPixel(1, 0, qRgba(255, 0, 0, 255));
    ASSERT_TRUE(Alpha.save(QString::fromStdString(PathIn(Dir, "a.png")), "PNG"));
    TBitmap A;
    A.LoadFromFile(PathIn(Dir, "a.png"));
    EXPECT_TRUE(A.Image().hasAlphaChannel());
    TBitmap Target;
    Target.SetSize(2, 1);
    Target.Canvas()->Draw(0, 0, &A);
    EXPECT_EQ(Target.Canvas()->Pixel(0, 0), clWhite);
    EXPECT_EQ(Target.Canvas()->Pixel(1, 0), clRed);
}

TEST(Bitmap, BadFilesRaiseTypedErrors) {
    QTemporaryDir Dir;
    const std::string Missing = PathIn(Dir, "missing.bmp");
    TBitmap B;
    try {
        B.LoadFromFile(Missing);
        FAIL() << "no error for a missing file";
    } catch (const EFOpenError& E) {
        EXPECT_EQ(E.Message(), "Cannot open file \"" + Missing + "\". No such file or directory");
    }
    QFile Garbage(QString::fromStdString(PathIn(Dir, "garbage.png")));
    ASSERT_TRUE(Garbage.open(QIODevice::WriteOnly));
    Garbage.write("this is not a picture at all");
    Garbage.close();
    EXPECT_THROW(B.LoadFromFile(PathIn(Dir, "garbage.png")), EInvalidGraphic);
    EXPECT_TRUE(B.Empty());
    B.SetSize(2, 2);
    EXPECT_THROW(B.SaveToFile(PathIn(Dir, "no/such/folder/x.bmp")), EFCreateError);
}

TEST(Bitmap, SavesByExtensionAndReloadsTheSamePixels) {
    QTemporaryDir Dir;
    TBitmap B;
    B.SetSize(3, 2);
    B.Canvas()->SetPixel(2, 1, RGB(1, 2, 3));
    for (const char* Name : {"s.png", "s.bmp"}) {
        B.SaveToFile(PathIn(Dir, Name));
        QFile File(QString::fromStdString(PathIn(Dir, Name)));
        ASSERT_TRUE(File.open(QIODevice::ReadOnly));
        const QByteArray Head = File.read(4);
        EXPECT_EQ(Head.startsWith("BM"), std::string(Name) == "s.bmp") << Name;
        EXPECT_EQ(Head.mid(1, 3) == "PNG", std::string(Name) == "s.png") << Name;
        TBitmap Back;
        Back.LoadFromFile(PathIn(Dir, Name));
        EXPECT_EQ(Back.Canvas()->Pixel(2, 1), RGB(1, 2, 3)) << Name;
        EXPECT_EQ(Back.Canvas()->Pixel(0, 0), clWhite) << Name;
    }
}

TEST(Bitmap, AssignCopiesPixelsAndTransparency) {
    TBitmap A;
    A.SetSize(2, 2);
    A.Canvas()->SetPixel(1, 1, clNavy);
    A.SetTransparent(true);
    A.SetTransparentColor(clNavy);
    TBitmap B;
    B.Assign(&A);
    EXPECT_EQ(B.Width(), 2);
    EXPECT_EQ(B.Canvas()->Pixel(1, 1), clNavy);
    EXPECT_TRUE(B.Transparent());
    EXPECT_EQ(B.TransparentMode(), tmFixed);
    EXPECT_EQ(B.TransparentColor(), clNavy);
    B.Canvas()->SetPixel(1, 1, clRed); // the copy is independent
    EXPECT_EQ(A.Canvas()->Pixel(1, 1), clNavy);
    TPen Pen;
    EXPECT_THROW(B.Assign(&Pen), EConvertError);
}
