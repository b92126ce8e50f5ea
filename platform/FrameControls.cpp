#include "platform/FrameControls.h"

#include <algorithm>

namespace Platform {

namespace {

// Keeps the caller's pen and brush, as a system drawing call would.
struct TToolsSaver {
    TCanvas& C;
    TPen Pen;
    TBrush Brush;
    explicit TToolsSaver(TCanvas& Canvas) : C(Canvas) {
        Pen.Assign(*C.Pen());
        Brush.Assign(*C.Brush());
    }
    ~TToolsSaver() {
        C.Pen()->Assign(Pen);
        C.Brush()->Assign(Brush);
    }
};

void Frame(TCanvas& C, const TRect& R, TColor Color) {
    C.Brush()->SetColor(Color);
    C.FrameRect(R);
}

// A square of the rectangle's shorter side, centred in it.
TRect CentredSquare(const TRect& R) {
    const int Side = std::max(0, std::min(R.Width(), R.Height()));
    const int L = R.Left + (R.Width() - Side) / 2, T = R.Top + (R.Height() - Side) / 2;
    return Rect(L, T, L + Side, T + Side);
}

void Check(TCanvas& C, const TRect& Box, TColor Color) {
    // A tick of two strokes, three pixels thick, as the system's check mark.
    C.Pen()->SetColor(Color);
    C.Pen()->SetWidth(1);
    C.Pen()->SetStyle(psSolid);
    C.Pen()->SetMode(pmCopy);
    const int W = Box.Width();
    const int X0 = Box.Left + W / 4 - 1, Y0 = Box.Top + W / 2 - 1;
    for (int D = 0; D < 3; ++D) {
        C.MoveTo(X0, Y0 + D);
        C.LineTo(X0 + 2, Y0 + 2 + D);
        C.LineTo(X0 + W / 2 + 2, Y0 - W / 2 + 4 + D);
    }
}

} // namespace

bool DrawFrameControl(TCanvas& C, const TRect& R, unsigned Type, unsigned State) {
    TToolsSaver Saver(C);
    C.Brush()->SetStyle(bsSolid);
    const bool Inactive = State & DFCS_INACTIVE, Flat = State & DFCS_FLAT;
    const TColor Mark = Inactive ? clGrayText : clWindowText;
    if (Type == DFC_BUTTON && (State & 0x1F) == DFCS_BUTTONPUSH) {
        C.Brush()->SetColor(clBtnFace);
        C.FillRect(R);
        Frame(C, R, Flat ? clBtnShadow : cl3DDkShadow);
        return true;
    }
    if (Type == DFC_BUTTON && (State & 0x1F) == DFCS_BUTTONCHECK) {
        const TRect Box = CentredSquare(R);
        C.Brush()->SetColor(Inactive ? clBtnFace : clWindow);
        C.FillRect(Box);
        Frame(C, Box, Flat ? clBtnShadow : cl3DDkShadow);
        if (State & DFCS_CHECKED) Check(C, Box, Mark);
        return true;
    }
    if (Type == DFC_BUTTON && (State & 0x1F) == DFCS_BUTTONRADIO) {
        const TRect Box = CentredSquare(R);
        C.Pen()->SetColor(Flat ? clBtnShadow : cl3DDkShadow);
        C.Pen()->SetMode(pmCopy);
        C.Pen()->SetStyle(psSolid);
        C.Pen()->SetWidth(1);
        C.Brush()->SetColor(Inactive ? clBtnFace : clWindow);
        C.Ellipse(Box.Left, Box.Top, Box.Right, Box.Bottom);
        if (State & DFCS_CHECKED) {
            const int Inset = std::max(1, Box.Width() / 3);
            C.Pen()->SetColor(Mark);
            C.Brush()->SetColor(Mark);
            C.Ellipse(Box.Left + Inset, Box.Top + Inset, Box.Right - Inset + 1,
                      Box.Bottom - Inset + 1);
        }
        return true;
    }
    const unsigned Scroll = State & 0x1F;
    if (Type == DFC_SCROLL && Scroll <= DFCS_SCROLLCOMBOBOX) {
        C.Brush()->SetColor(clBtnFace);
        C.FillRect(R);
        Frame(C, R, Flat ? clBtnShadow : cl3DDkShadow);
        // A small solid triangle pointing the button's way (the combo box's down).
        const int CX = (R.Left + R.Right) / 2, CY = (R.Top + R.Bottom) / 2;
        C.Pen()->SetColor(Mark);
        C.Pen()->SetMode(pmCopy);
        C.Pen()->SetStyle(psSolid);
        C.Pen()->SetWidth(1);
        for (int D = 0; D < 4; ++D) {
            switch (Scroll) {
            case DFCS_SCROLLUP:
                C.MoveTo(CX - 3 + D, CY + 1 - D);
                C.LineTo(CX + 4 - D, CY + 1 - D);
                break;
            case DFCS_SCROLLLEFT:
                C.MoveTo(CX + 1 - D, CY - 3 + D);
                C.LineTo(CX + 1 - D, CY + 4 - D);
                break;
            case DFCS_SCROLLRIGHT:
                C.MoveTo(CX - 1 + D, CY - 3 + D);
                C.LineTo(CX - 1 + D, CY + 4 - D);
                break;
            default: // down, and the combo box's button
                C.MoveTo(CX - 3 + D, CY - 2 + D);
                C.LineTo(CX + 4 - D, CY - 2 + D);
                break;
            }
        }
        return true;
    }
    return false;
}

} // namespace Platform
