// Bitmaps: sizing, transparency, files and copies.
#include "platform/Bitmap.h"
#include "support/TestUtils.h"

#include <QImage>
#include <cstring>
#include <gtest/gtest.h>

using namespace Platform;

// Saved by extension and loaded back: the same pixels, drawable as any.
TEST(Bitmap, SavesAndLoadsBmpAndPngFiles) {
    Testing::TTempDir Dir;
    TBitmap B;
    B.SetSize(5, 4);
    B.Canvas()->SetPixel(0, 0, RGB(10, 20, 30));
    B.Canvas()->SetPixel(4, 3, RGB(200, 100, 0));
    for (auto [Name, Magic] : {std::pair{"s.png", "\x89PNG"}, {"s.bmp", "BM"}}) {
        B.SaveToFile(Dir.Path(Name));
        EXPECT_EQ(Testing::ReadFile(Dir.Path(Name)).substr(0, std::strlen(Magic)), Magic);
        TBitmap Back;
        Back.LoadFromFile(Dir.Path(Name));
        EXPECT_EQ(Back.Image().size(), QSize(5, 4)) << Name;
        Testing::ExpectPixels(Back.Canvas(),
                              {{4, 3, RGB(200, 100, 0)}, {1, 1, clWhite}, {0, 0, RGB(10, 20, 30)}});
        Back.Canvas()->Pen()->SetMode(pmXor); // loaded images are drawable
        Back.Canvas()->Pen()->SetColor(clWhite);
        Back.Canvas()->MoveTo(0, 0);
        Back.Canvas()->LineTo(2, 0);
        EXPECT_EQ(Back.Canvas()->Pixel(0, 0), RGB(245, 235, 225)) << Name;
    }

    // An alpha channel is kept.
    QImage Alpha(2, 1, QImage::Format_ARGB32);
    Alpha.fill(qRgba(255, 0, 0, 0));
    ASSERT_TRUE(Alpha.save(QString::fromStdString(Dir.Path("a.png")), "PNG"));
    B.LoadFromFile(Dir.Path("a.png"));
    EXPECT_TRUE(B.Image().hasAlphaChannel());
}

TEST(Bitmap, BadFilesRaiseTypedErrors) {
    Testing::TTempDir Dir;
    const std::string Missing = Dir.Path("missing.bmp");
    TBitmap B;
    EXPECT_EQ(Testing::MessageOf<EFOpenError>([&] { B.LoadFromFile(Missing); }),
              "Cannot open file \"" + Missing + "\". No such file or directory");
    Testing::WriteFile(Dir.Path("garbage.png"), "this is not a picture at all");
    EXPECT_THROW(B.LoadFromFile(Dir.Path("garbage.png")), EInvalidGraphic);
    EXPECT_TRUE(B.Empty());
    B.SetSize(2, 2);
    EXPECT_THROW(B.SaveToFile(Dir.Path("no/such/folder/x.bmp")), EFCreateError);
}
