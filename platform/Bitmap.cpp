#include "platform/Bitmap.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace Platform {

namespace {

constexpr int DotsPerMeter96 = 3780; // 96 DPI

QImage NewImage(int W, int H, QImage::Format Format) {
    QImage Image(W, H, Format);
    Image.setDotsPerMeterX(DotsPerMeter96);
    Image.setDotsPerMeterY(DotsPerMeter96);
    return Image;
}

} // namespace

TBitmap::TBitmap() : FImage(std::make_unique<QImage>()), FCanvas(std::make_unique<TCanvas>()) {
    Bind();
}

TBitmap::~TBitmap() {
    FCanvas->Flush();
}

void TBitmap::Bind() {
    FCanvas->SetImage(FImage.get());
}

// The image wins when there is one: callers may replace it through Image().
int TBitmap::Width() const {
    return FImage->isNull() ? FWidth : FImage->width();
}
int TBitmap::Height() const {
    return FImage->isNull() ? FHeight : FImage->height();
}
void TBitmap::SetWidth(int V) {
    SetSize(V, Height());
}
void TBitmap::SetHeight(int V) {
    SetSize(Width(), V);
}
bool TBitmap::Empty() const {
    return Width() <= 0 || Height() <= 0;
}

void TBitmap::SetSize(int W, int H) {
    W = std::max(W, 0);
    H = std::max(H, 0);
    if (W == Width() && H == Height()) return;
    FCanvas->Flush();
    FWidth = W;
    FHeight = H;
    // Not Empty(): that still sees the old image's size.
    if (W == 0 || H == 0) {
        *FImage = QImage();
    } else {
        const QImage::Format Format = FImage->isNull() ? QImage::Format_RGB32 : FImage->format();
        QImage Resized = NewImage(W, H, Format);
        Resized.fill(Qt::white);
        if (!FImage->isNull()) {
            QPainter P(&Resized);
            P.setCompositionMode(QPainter::CompositionMode_Source);
            P.drawImage(0, 0, *FImage);
        }
        *FImage = std::move(Resized);
    }
    Bind();
}

TColor TBitmap::TransparentColor() const {
    if (FTransparentMode == tmFixed) return FTransparentColor;
    if (Empty()) return clDefault;
    return FCanvas->Pixel(0, Height() - 1);
}

void TBitmap::SetTransparentColor(TColor V) {
    FTransparentColor = V;
    FTransparentMode = tmFixed;
}

void TBitmap::LoadFromFile(const std::string& FileName) {
    errno = 0;
    std::ifstream In(FileName, std::ios::binary);
    if (!In) {
        const char* Reason = errno ? std::strerror(errno) : "No such file or directory";
        throw EFOpenError(Format("Cannot open file \"%s\". %s", FileName, Reason));
    }
    const QByteArray Bytes = QByteArray::fromStdString(
        std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()));
    QImage Loaded = QImage::fromData(Bytes);
    if (Loaded.isNull()) throw EInvalidGraphic("Bitmap image is not valid");
    // Keep an alpha channel for blending; everything else becomes plain RGB32.
    Loaded = Loaded.convertToFormat(Loaded.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                             : QImage::Format_RGB32);
    Loaded.setDotsPerMeterX(DotsPerMeter96);
    Loaded.setDotsPerMeterY(DotsPerMeter96);
    FCanvas->Flush();
    *FImage = std::move(Loaded);
    FWidth = FImage->width();
    FHeight = FImage->height();
    Bind();
}

void TBitmap::SaveToFile(const std::string& FileName) const {
    std::string Ext;
    if (auto Dot = FileName.rfind('.');
        Dot != std::string::npos && FileName.find('/', Dot) == std::string::npos)
        Ext = FileName.substr(Dot + 1);
    for (char& C : Ext)
        C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    // A bitmap is a BMP unless the name asks for another format Qt writes.
    const char* Kind = "BMP";
    if (Ext == "png")
        Kind = "PNG";
    else if (Ext == "jpg" || Ext == "jpeg")
        Kind = "JPG";
    else if (Ext == "ppm")
        Kind = "PPM";
    const QImage& Pixels = Image();
    if (Pixels.isNull() || !Pixels.save(QString::fromStdString(FileName), Kind))
        throw EFCreateError(Format("Cannot create file \"%s\"", FileName));
}

void TBitmap::Assign(const TPersistent* Source) {
    if (!Source) {
        // Assigning nothing leaves an empty bitmap.
        FCanvas->Flush();
        *FImage = QImage();
        FWidth = FHeight = 0;
        Bind();
        return;
    }
    auto* Other = dynamic_cast<const TBitmap*>(Source);
    if (!Other) {
        TPersistent::Assign(Source);
        return;
    }
    if (Other == this) return;
    const QImage& Pixels = Other->Image();
    FCanvas->Flush();
    *FImage = Pixels.copy();
    FWidth = Other->Width();
    FHeight = Other->Height();
    FTransparent = Other->FTransparent;
    FTransparentMode = Other->FTransparentMode;
    FTransparentColor = Other->FTransparentColor;
    Bind();
}

const QImage& TBitmap::Image() const {
    FCanvas->Flush();
    return *FImage;
}

QImage& TBitmap::Image() {
    FCanvas->Flush();
    return *FImage;
}

} // namespace Platform
