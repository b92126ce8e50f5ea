#pragma once
// Helpers without a map: exception messages, scratch folders for files (of
// TempFiles.h) and a reader of canvas pixels.

#include "platform/Canvas.h"
#include "support/TempFiles.h"

#include <QImage>
#include <QRect>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

namespace Testing {

// The message of the exception of type E that Call raises.
template <class E, class F> std::string MessageOf(F&& Call) {
    try {
        Call();
    } catch (const E& Error) {
        return Error.Message();
    }
    return "no exception";
}

// The pixels of a canvas in colour C, or with Other in any colour but C.
struct TInk {
    int Count = 0;
    QRect Box;
};
inline TInk FindInk(Platform::TCanvas* Canvas, Platform::TColor C, bool Other = false) {
    TInk Ink;
    const QImage* Image = Canvas->Image();
    for (int Y = 0; Image && Y < Image->height(); ++Y)
        for (int X = 0; X < Image->width(); ++X)
            if ((Canvas->Pixel(X, Y) == C) != Other) {
                ++Ink.Count;
                Ink.Box |= QRect(X, Y, 1, 1);
            }
    return Ink;
}

// Each listed pixel of the canvas has its colour.
struct TPixel {
    int X, Y;
    Platform::TColor Color;
};
inline void ExpectPixels(Platform::TCanvas* Canvas, std::initializer_list<TPixel> Pixels) {
    for (const TPixel& P : Pixels)
        EXPECT_EQ(Canvas->Pixel(P.X, P.Y), P.Color) << "pixel " << P.X << "," << P.Y;
}

} // namespace Testing
