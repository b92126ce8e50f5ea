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
    const std::pair<TColor, char> Keys[] = {{clWhite, '.'}, {clBlack, '#'},  {clRed, 'r'},
                                            {clBlue, 'b'},  {clYellow, 'y'}, {clLime, 'g'}};
    std::vector<std::string> Rows(static_cast<size_t>(C->Image()->height()));
    for (size_t Y = 0; Y < Rows.size(); ++Y)
        for (int X = 0; X < C->Image()->width(); ++X) {
            char Key = '?';
            for (auto [Color, K] : Keys)
                if (C->Pixel(X, static_cast<int>(Y)) == Color) Key = K;
            Rows[Y] += Key;
        }
    return Rows;
}

} // namespace Pictures
