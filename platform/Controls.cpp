#include "platform/Controls.h"

#include "platform/Caret.h"

#include <algorithm>

namespace Platform {

// --- control -----------------------------------------------------------------------

TControl::TControl(TComponent* Owner) : TComponent(Owner) {}

TControl::~TControl() {
    if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* Parent) {
    if (Parent == FParent) return;
    if (FParent) FParent->RemoveControl(this);
    if (Parent) Parent->InsertControl(this);
}

void TControl::SetBounds(int Left, int Top, int Width, int Height) {
    Width = std::max(Width, 0);
    Height = std::max(Height, 0);
    const bool Resized = Width != FWidth || Height != FHeight;
    FLeft = Left;
    FTop = Top;
    FWidth = Width;
    FHeight = Height;
    if (Resized) Resize();
}

void TControl::SetColor(TColor V) {
    if (V == FColor) return;
    FColor = V;
    Invalidate();
}

void TControl::SetCursor(TCursor V) {
    FCursor = V;
}

void TControl::SetVisible(bool V) {
    if (V == FVisible) return;
    FVisible = V;
    if (V) Invalidate();
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

// --- windowed control ----------------------------------------------------------------

namespace {
std::uintptr_t NextHandle = 0;
}

TWinControl::TWinControl(TComponent* Owner) : TControl(Owner), FHandle(++NextHandle) {}

TWinControl::~TWinControl() {
    // Children outlive their parent (their owner frees them), unparented.
    for (TControl* Child : FControls)
        Child->FParent = nullptr;
    FControls.Clear();
    Application()->Forget(this);
    WindowDestroyed(this);
    if (FHost) FHost->ControlDestroyed();
}

void TWinControl::InsertControl(TControl* Control) {
    if (!Control || Control == this) return;
    if (Control->FParent == this && FControls.IndexOf(Control) >= 0) return;
    if (Control->FParent) Control->FParent->RemoveControl(Control);
    FControls.Add(Control);
    Control->FParent = this;
}

void TWinControl::RemoveControl(TControl* Control) {
    if (!Control) return;
    FControls.Remove(Control);
    if (Control->FParent == this) Control->FParent = nullptr;
}

void TWinControl::SetBounds(int Left, int Top, int Width, int Height) {
    Width = std::max(Width, 0);
    Height = std::max(Height, 0);
    const bool Resized = Width != this->Width() || Height != this->Height();
    // The surface has its new size before OnResize handlers look at it.
    if (Resized) ResizeSurface(Width, Height);
    TControl::SetBounds(Left, Top, Width, Height);
    // A window redraws all of itself when its size changes.
    if (Resized) Invalidate();
}

void TWinControl::ResizeSurface(int Width, int Height) {
    FlushSurface();
    if (Width <= 0 || Height <= 0) {
        FSurface = QImage();
    } else {
        QImage Resized(Width, Height, QImage::Format_RGB32);
        Resized.setDotsPerMeterX(3780); // 96 DPI
        Resized.setDotsPerMeterY(3780);
        Resized.fill(ToQColor(Color()));
        if (!FSurface.isNull()) {
            const int W = std::min(Width, FSurface.width()),
                      H = std::min(Height, FSurface.height());
            for (int Y = 0; Y < H; ++Y)
                std::copy_n(FSurface.constScanLine(Y), static_cast<size_t>(W) * 4,
                            Resized.scanLine(Y));
        }
        FSurface = std::move(Resized);
    }
    SurfaceResized();
}

void TWinControl::SetCursor(TCursor V) {
    TControl::SetCursor(V);
    if (FHost) FHost->CursorChanged(V);
}

void TWinControl::SetFocus() {
    Application()->SetFocusedControl(this);
    if (FHost) FHost->FocusRequested();
}

bool TWinControl::Focused() const {
    return Application()->FocusedControl() == this;
}

void TWinControl::Invalidate() {
    if (!FPaintPending) {
        FPaintPending = true;
        Application()->Schedule(this);
    }
    if (FHost) FHost->RequestPaint();
}

void TWinControl::DeliverPaint() {
    if (!FPaintPending) return;
    FPaintPending = false;
    EraseBackground();
    PaintWindow();
    ++FPaintCount;
    FlushSurface();
    if (FHost) FHost->Present();
}

void TWinControl::PaintWindow() {}

bool TWinControl::EraseBackground() {
    FlushSurface();
    if (!FSurface.isNull()) FSurface.fill(ToQColor(Color()));
    return true;
}

void TWinControl::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(std::uint16_t& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::MouseWheel(TShiftState Shift, int Delta, int X, int Y) {}

// --- custom control --------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* Owner)
    : TWinControl(Owner), FCanvas(std::make_unique<TCanvas>()) {
    FCanvas->SetImage(&Surface());
    // Drawing outside a paint (a tool's rubber band, a dragged picture, an
    // object shown at once) reaches the screen without waiting for one.
    FCanvas->OnBeginDrawing = [this] {
        if (Host()) Host()->Present();
    };
}

TCustomControl::~TCustomControl() {
    FCanvas->Flush();
}

void TCustomControl::PaintWindow() {
    FCanvas->Brush()->SetColor(Color());
    FCanvas->Brush()->SetStyle(bsSolid);
    FCanvas->Pen()->SetMode(pmCopy);
    Paint();
}

void TCustomControl::FlushSurface() {
    if (FCanvas) FCanvas->Flush();
}

void TCustomControl::SurfaceResized() {
    if (FCanvas) FCanvas->SetImage(&Surface());
}

// --- application ---------------------------------------------------------------------------

void TApplication::ProcessMessages() {
    // Paints asked for while these are delivered wait for the next call.
    std::vector<TWinControl*> Batch;
    Batch.swap(FPending);
    FDelivering.push_back(&Batch);
    size_t I = 0;
    // A paint that raises passes to the caller; the controls not yet served
    // keep their paints for the next call.
    struct Restore {
        TApplication& App;
        std::vector<TWinControl*>& Batch;
        size_t& Next;
        ~Restore() {
            App.FDelivering.pop_back();
            for (size_t J = Next; J < Batch.size(); ++J)
                if (Batch[J]) App.Schedule(Batch[J]);
        }
    } Guard{*this, Batch, I};
    while (I < Batch.size()) {
        TWinControl* Control = Batch[I++];
        if (Control) Control->DeliverPaint();
    }
}

void TApplication::SetFocusedControl(TWinControl* Control) {
    if (Control == FFocused) return;
    TWinControl* Old = FFocused;
    FFocused = Control;
    if (Old) Old->DoExit();
    // An exit handler may have moved the focus on already.
    if (Control && FFocused == Control) Control->DoEnter();
}

void TApplication::Schedule(TWinControl* Control) {
    if (Control && std::find(FPending.begin(), FPending.end(), Control) == FPending.end())
        FPending.push_back(Control);
}

void TApplication::Forget(TWinControl* Control) {
    FPending.erase(std::remove(FPending.begin(), FPending.end(), Control), FPending.end());
    for (auto* Batch : FDelivering)
        std::replace(Batch->begin(), Batch->end(), Control, static_cast<TWinControl*>(nullptr));
    if (FFocused == Control) FFocused = nullptr;
}

TApplication* Application() {
    // Never destroyed: controls living in statics may still forget themselves at exit.
    static TApplication* Instance = new TApplication;
    return Instance;
}

} // namespace Platform
