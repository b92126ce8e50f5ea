#include "platform/Mask.h"

#include <QImage>
#include <algorithm>

namespace Platform {

TMask TMask::FromImage(const QImage& Image, std::uint32_t Background, TPoint Origin) {
    TMask M;
    if (Image.isNull() || Image.depth() != 32) return M;
    const std::uint32_t Key = Background & 0xFFFFFFu;
    int L = Image.width(), T = Image.height(), R = -1, B = -1;
    for (int Y = 0; Y < Image.height(); ++Y) {
        const QRgb* Row = reinterpret_cast<const QRgb*>(Image.constScanLine(Y));
        for (int X = 0; X < Image.width();) {
            if ((Row[X] & 0xFFFFFFu) == Key) {
                ++X;
                continue;
            }
            const int Start = X;
            while (X < Image.width() && (Row[X] & 0xFFFFFFu) != Key)
                ++X;
            M.FRuns.push_back({Start - Origin.X, Y - Origin.Y, X - Start});
            L = std::min(L, Start);
            R = std::max(R, X);
            T = std::min(T, Y);
            B = std::max(B, Y + 1);
        }
    }
    if (!M.FRuns.empty()) M.FBounds = TRect{L - Origin.X, T - Origin.Y, R - Origin.X, B - Origin.Y};
    return M;
}

} // namespace Platform
