#pragma once
// Controls: windowed components with a window surface (an image of the client
// area that stands for the window's pixels), invalidation with paints that the
// event loop delivers later, focus, cursor, and Windows-style input entry
// points that a host (the Qt widget, or tests) calls.

#include "Bitmap.h"
#include "Canvas.h"
#include "Classes.h"
#include "PlatformExport.h"

#include <QImage>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Platform {

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = unsigned;

using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22;

/// Virtual-key codes used by the components.
constexpr std::uint16_t VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10,
                        VK_CONTROL = 0x11, VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
                        VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24,
                        VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
                        VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_F2 = 0x71;

/// Dialog codes answered to the dialog-code query.
constexpr int DLGC_WANTARROWS = 0x01, DLGC_WANTTAB = 0x02, DLGC_WANTALLKEYS = 0x04,
              DLGC_WANTCHARS = 0x80;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TDragMode { dmManual, dmAutomatic };

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton, TShiftState, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, std::uint16_t& Key, TShiftState)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

class TWinControl;
class TControlHost;

class CHARTIX_PLATFORM_EXPORT TControl : public TComponent {
public:
    explicit TControl(TComponent* Owner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* Parent);
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int V) { SetBounds(FLeft, FTop, V, FHeight); }
    void SetHeight(int V) { SetBounds(FLeft, FTop, FWidth, V); }
    virtual void SetBounds(int Left, int Top, int Width, int Height);
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }
    TRect ClientRect() const { return TRect{0, 0, ClientWidth(), ClientHeight()}; }
    TColor Color() const { return FColor; }
    virtual void SetColor(TColor V);
    TCursor Cursor() const { return FCursor; }
    virtual void SetCursor(TCursor V);
    bool Visible() const { return FVisible; }
    void SetVisible(bool V);
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign V) { FAlign = V; }
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode V) { FDragMode = V; }
    virtual void Invalidate() {}

    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnClick, OnDblClick, OnResize;

    /// Input entry points, called by the host with client pixels. The base
    /// versions fire the host application's handlers.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Click();
    virtual void DblClick();

protected:
    virtual void Resize();

private:
    friend class TWinControl; ///< keeps the parent link in step with its list
    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TColor FColor = clWindow;
    TCursor FCursor = crDefault;
    bool FVisible = true;
    TAlign FAlign = alNone;
    TDragMode FDragMode = dmManual;
};

class CHARTIX_PLATFORM_EXPORT TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* Owner);
    ~TWinControl() override;

    int ControlCount() const { return FControls.Count(); }
    TControl* Controls(int Index) const { return FControls.Get(Index); }
    void InsertControl(TControl* Control);
    void RemoveControl(TControl* Control);

    void SetBounds(int Left, int Top, int Width, int Height) override;
    void SetCursor(TCursor V) override;
    void SetFocus();
    bool Focused() const;
    bool CanFocus() const { return Visible(); }

    /// Asks for a paint; the event loop (Application) delivers it later, once.
    void Invalidate() override;
    bool PaintPending() const { return FPaintPending; }
    /// Runs the pending paint: Paint on the surface, then presentation.
    void DeliverPaint();
    int PaintCount() const { return FPaintCount; }

    /// The window surface: an image of the client area standing for its pixels.
    /// Pending canvas drawing is finished first, so the pixels can be read.
    QImage& Surface() {
        FlushSurface();
        return FSurface;
    }
    /// A number that names this window while it exists; never 0.
    std::uintptr_t Handle() const { return FHandle; }
    /// The host that shows this control in a real window, if any.
    TControlHost* Host() const { return FHost; }
    void SetHost(TControlHost* Host) { FHost = Host; }

    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter, OnExit;

    virtual void KeyDown(std::uint16_t& Key, TShiftState Shift);
    virtual void KeyUp(std::uint16_t& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    /// The wheel message: Delta is a multiple of +-120; (X, Y) client pixels.
    virtual void MouseWheel(TShiftState Shift, int Delta, int X, int Y);
    /// Erase-background message; true means handled (nothing is erased).
    virtual bool EraseBackground();
    /// Dialog-code query: which keys the control wants instead of the dialog.
    virtual int GetDialogCode() const { return 0; }

protected:
    /// Draws the client area on the surface; called by DeliverPaint.
    virtual void PaintWindow();
    virtual void DoEnter() {
        if (OnEnter) OnEnter(this);
    }
    virtual void DoExit() {
        if (OnExit) OnExit(this);
    }
    /// Finishes drawing in progress on the surface (a canvas's painter); called
    /// before the surface is read, resized or presented.
    virtual void FlushSurface() {}
    /// The surface got a new size (and new pixels).
    virtual void SurfaceResized() {}

private:
    friend class TApplication;
    void ResizeSurface(int Width, int Height);
    TList<TControl> FControls;
    QImage FSurface;
    bool FPaintPending = false;
    int FPaintCount = 0;
    TControlHost* FHost = nullptr;
    std::uintptr_t FHandle;
};

/// A windowed control that draws itself: Canvas draws on the window surface at
/// any time, inside or outside a paint.
class CHARTIX_PLATFORM_EXPORT TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* Owner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    virtual void Paint() {}
    void PaintWindow() override;
    void FlushSurface() override;
    void SurfaceResized() override;

private:
    std::unique_ptr<TCanvas> FCanvas;
};

/// What a real window does for a control: repaint requests, presentation of
/// the surface and the mouse cursor. Implemented by the Qt host widget.
class CHARTIX_PLATFORM_EXPORT TControlHost {
public:
    virtual ~TControlHost() = default;
    virtual void RequestPaint() = 0;
    virtual void Present() = 0;
    virtual void CursorChanged(TCursor Cursor) = 0;
    virtual void FocusRequested() = 0;
    /// The control is being destroyed: the host must let go of it.
    virtual void ControlDestroyed() {}
    /// The caret was created, moved, shown, hidden or destroyed in the control.
    virtual void CaretChanged() {}
};

/// The event loop's side of the platform: pending paints and the focus.
class CHARTIX_PLATFORM_EXPORT TApplication {
public:
    /// Delivers every pending paint (each control once), as the event loop would.
    void ProcessMessages();
    TWinControl* FocusedControl() const { return FFocused; }
    void SetFocusedControl(TWinControl* Control);
    void Schedule(TWinControl* Control);
    void Forget(TWinControl* Control);

private:
    std::vector<TWinControl*> FPending;
    /// Paints being delivered right now (one list per nested ProcessMessages);
    /// Forget blanks destroyed controls in them.
    std::vector<std::vector<TWinControl*>*> FDelivering;
    TWinControl* FFocused = nullptr;
};

CHARTIX_PLATFORM_EXPORT TApplication* Application();

} // namespace Platform
