#include "platform/ScrollBars.h"

#include "platform/FrameControls.h"

#include <algorithm>

namespace Platform {

int TScrollBarBox::Length() const {
    return Kind == sbVertical ? Bounds.Height() : Bounds.Width();
}

int TScrollBarBox::Arrow() const {
    return std::min(ScrollBarSize, Length() / 2);
}

int TScrollBarBox::ThumbLength() const {
    const int Track = Length() - 2 * Arrow();
    const long long Range = static_cast<long long>(Max) - Min + std::max(Page, 1);
    const long long L = Track * static_cast<long long>(std::max(Page, 1)) / std::max(Range, 1LL);
    return static_cast<int>(std::clamp<long long>(L, std::min(8, Track), Track));
}

int TScrollBarBox::ThumbOffset(int AtPosition) const {
    const int Free = Length() - 2 * Arrow() - ThumbLength();
    if (Max <= Min || Free <= 0) return 0;
    const long long P = std::clamp(AtPosition, Min, Max) - static_cast<long long>(Min);
    return static_cast<int>(Free * P / (static_cast<long long>(Max) - Min));
}

TRect TScrollBarBox::ThumbRect() const {
    const int Start = Arrow() + ThumbOffset(Position), End = Start + ThumbLength();
    if (Kind == sbVertical)
        return Rect(Bounds.Left, Bounds.Top + Start, Bounds.Right, Bounds.Top + End);
    return Rect(Bounds.Left + Start, Bounds.Top, Bounds.Left + End, Bounds.Bottom);
}

TScrollCode TScrollBarBox::HitTest(TPoint P) const {
    if (!Contains(P)) return scNone;
    const int At = Kind == sbVertical ? P.Y - Bounds.Top : P.X - Bounds.Left;
    const TRect Thumb = ThumbRect();
    const int ThumbStart = Kind == sbVertical ? Thumb.Top - Bounds.Top : Thumb.Left - Bounds.Left;
    if (At < Arrow()) return scLineUp;
    if (At >= Length() - Arrow()) return scLineDown;
    if (At < ThumbStart) return scPageUp;
    if (At >= ThumbStart + ThumbLength()) return scPageDown;
    return scTrack;
}

int TScrollBarBox::TrackPosition(int StartPosition, int Pixels) const {
    const int Free = Length() - 2 * Arrow() - ThumbLength();
    if (Max <= Min || Free <= 0) return Min;
    const long long Offset = ThumbOffset(StartPosition) + static_cast<long long>(Pixels);
    const long long P = Min + (Offset * (static_cast<long long>(Max) - Min) + Free / 2) / Free;
    return static_cast<int>(std::clamp<long long>(P, Min, Max));
}

void TScrollBarBox::Paint(TCanvas& C) const {
    if (!Visible()) return;
    C.Brush()->SetStyle(bsSolid);
    C.Brush()->SetColor(clScrollBar);
    C.FillRect(Bounds);
    const int A = Arrow();
    const bool V = Kind == sbVertical;
    const TRect First = V ? Rect(Bounds.Left, Bounds.Top, Bounds.Right, Bounds.Top + A)
                          : Rect(Bounds.Left, Bounds.Top, Bounds.Left + A, Bounds.Bottom);
    const TRect Last = V ? Rect(Bounds.Left, Bounds.Bottom - A, Bounds.Right, Bounds.Bottom)
                         : Rect(Bounds.Right - A, Bounds.Top, Bounds.Right, Bounds.Bottom);
    const unsigned Inactive = Max <= Min ? DFCS_INACTIVE : 0;
    DrawFrameControl(C, First, DFC_SCROLL, (V ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | Inactive);
    DrawFrameControl(C, Last, DFC_SCROLL, (V ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | Inactive);
    if (Max > Min) DrawFrameControl(C, ThumbRect(), DFC_BUTTON, DFCS_BUTTONPUSH);
}

} // namespace Platform
