#pragma once
// Small bitmaps and their pixels as rows of characters, for pictures worked
// out by hand.

#include "platform/Bitmap.h"

#include <QImage>

#include <memory>
#include <string>
#include <vector>

namespace Pictures {

inline std::unique_ptr<Platform::TBitmap> Blank(int W, int H,
                                                Platform::TColor Fill = Platform::clWhite) {
    auto B = std::make_unique<Platform::TBitmap>();
    B->SetSize(W, H);
    B->Canvas()->Brush()->SetColor(Fill);
    B->Canvas()->FillRect(Platform::Rect(0, 0, W, H));
    return B;
}

// '.' white, '#' black, 'r' red, 'b' blue, 'y' yellow, 'g' lime, '?' others.
inline std::vector<std::string> Picture(Platform::TCanvas* C) {
    using namespace Platform;
    std::vector<std::string> Rows;
    for (int Y = 0; Y < C->Image()->height(); ++Y) {
        std::string Row;
        for (int X = 0; X < C->Image()->width(); ++X) {
            switch (C->Pixel(X, Y)) {
            case clWhite:
                Row += '.';
                break;
            case clBlack:
                Row += '#';
                break;
            case clRed:
                Row += 'r';
                break;
            case clBlue:
                Row += 'b';
                break;
            case clYellow:
                Row += 'y';
                break;
            case clLime:
                Row += 'g';
                break;
            default:
                Row += '?';
                break;
            }
        }
        Rows.push_back(Row);
    }
    return Rows;
}

} // namespace Pictures
