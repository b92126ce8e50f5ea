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

/// A mouse button.
enum TMouseButton { mbLeft, mbRight, mbMiddle };
/// Flags of a shift state: the modifier keys and mouse buttons held, and ssDouble on the second
/// press of a double click.
enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
/// A combination of TShiftFlag values.
using TShiftState = unsigned;

/// A mouse cursor: 0 for the default, negative for the stock cursors below.
using TCursor = int;
/// The stock cursors; a host shows each with the nearest cursor shape it has.
///@{
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22;
///@}

/// Virtual-key codes used by the components.
///@{
constexpr std::uint16_t VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10,
                        VK_CONTROL = 0x11, VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
                        VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24,
                        VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
                        VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_F2 = 0x71;
///@}

/// Dialog codes answered to the dialog-code query.
///@{
constexpr int DLGC_WANTARROWS = 0x01, DLGC_WANTTAB = 0x02, DLGC_WANTALLKEYS = 0x04,
              DLGC_WANTCHARS = 0x80;
///@}

/// How a control is placed in its parent; stored only, no layout is done.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
/// Whether a press starts a drag by itself (dmAutomatic) or the code starts it; stored only.
enum TDragMode { dmManual, dmAutomatic };

/// Mouse button handler: Sender, the button, the shift state and client pixels.
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton, TShiftState, int X, int Y)>;
/// Mouse move handler: Sender, the shift state and client pixels.
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState, int X, int Y)>;
/// Key handler: Sender, the virtual-key code (set it to 0 to swallow the key) and the shift state.
using TKeyEvent = std::function<void(TObject* Sender, std::uint16_t& Key, TShiftState)>;
/// Character handler: Sender and the character (set it to 0 to swallow it).
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

class TWinControl;
class TControlHost;

/// A visual component: position and size in its parent, colour, cursor, visibility and mouse input.
class CHARTIX_PLATFORM_EXPORT TControl : public TComponent {
public:
    /// A control owned by Owner, without a parent.
    explicit TControl(TComponent* Owner);
    ~TControl() override;

    /// The windowed control this one sits in, or null; setting it moves the control to the new
    /// parent's children.
    ///@{
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* Parent);
    ///@}
    /// The position in the parent's client area and the size, in pixels; negative sizes become 0.
    ///@{
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int V) { SetBounds(FLeft, FTop, V, FHeight); }
    void SetHeight(int V) { SetBounds(FLeft, FTop, FWidth, V); }
    ///@}
    /// Moves and sizes the control at once; fires OnResize when the size changed.
    virtual void SetBounds(int Left, int Top, int Width, int Height);
    /// The size of the client area, in pixels.
    ///@{
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }
    ///@}
    /// The client area as a rectangle at (0, 0).
    TRect ClientRect() const { return TRect{0, 0, ClientWidth(), ClientHeight()}; }
    /// The background colour; a change invalidates the control.
    ///@{
    TColor Color() const { return FColor; }
    virtual void SetColor(TColor V);
    ///@}
    /// The mouse cursor over the control; a window tells its host of a change.
    ///@{
    TCursor Cursor() const { return FCursor; }
    virtual void SetCursor(TCursor V);
    ///@}
    /// Whether the control is shown; showing it invalidates it.
    ///@{
    bool Visible() const { return FVisible; }
    void SetVisible(bool V);
    ///@}
    /// The control's alignment in its parent (stored only).
    ///@{
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign V) { FAlign = V; }
    ///@}
    /// The control's drag mode (stored only).
    ///@{
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode V) { FDragMode = V; }
    ///@}
    /// Asks for a repaint; nothing for a control without a window.
    virtual void Invalidate() {}

    /// Handlers fired by the base input entry points and by Resize.
    ///@{
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnClick, OnDblClick, OnResize;
    ///@}

    /// Input entry points, called by the host with client pixels. The base
    /// versions fire the host application's handlers.
    ///@{
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Click();
    virtual void DblClick();
    ///@}

protected:
    /// Called after a size change; fires OnResize.
    virtual void Resize();

private:
    friend class TWinControl; // keeps the parent link in step with its list
    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TColor FColor = clWindow;
    TCursor FCursor = crDefault;
    bool FVisible = true;
    TAlign FAlign = alNone;
    TDragMode FDragMode = dmManual;
};

/// A control with a window: child controls, a surface of its client pixels, paints, focus and keys.
class CHARTIX_PLATFORM_EXPORT TWinControl : public TControl {
public:
    /// A window owned by Owner, with a handle of its own.
    explicit TWinControl(TComponent* Owner);
    ~TWinControl() override;

    /// The child controls in insertion order; Controls raises EListError out of range.
    ///@{
    int ControlCount() const { return FControls.Count(); }
    TControl* Controls(int Index) const { return FControls.Get(Index); }
    ///@}
    /// Makes Control a child, taking it from its old parent; null or the control itself is ignored.
    void InsertControl(TControl* Control);
    /// Takes Control out of the children; it is not freed (its owner does that).
    void RemoveControl(TControl* Control);

    /// As TControl::SetBounds; a new size also resizes the surface (new pixels in
    /// Color) and invalidates the control.
    void SetBounds(int Left, int Top, int Width, int Height) override;
    /// Stores the cursor and tells the host.
    void SetCursor(TCursor V) override;
    /// Gives this control the keyboard focus (OnExit of the old one, OnEnter of
    /// this one) and asks the host for it.
    void SetFocus();
    /// True when this control has the application's focus.
    bool Focused() const;
    /// True when the control is visible.
    bool CanFocus() const { return Visible(); }

    /// Asks for a paint; the event loop (Application) delivers it later, once.
    void Invalidate() override;
    /// True while a paint is asked for and not yet delivered.
    bool PaintPending() const { return FPaintPending; }
    /// Runs the pending paint: Paint on the surface, then presentation.
    void DeliverPaint();
    /// The number of paints delivered so far.
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
    ///@{
    TControlHost* Host() const { return FHost; }
    void SetHost(TControlHost* Host) { FHost = Host; }
    ///@}

    /// Keyboard handlers, fired by the base KeyDown, KeyUp and KeyPress; they may change the key.
    ///@{
    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    ///@}
    /// Fired when the control gets and loses the keyboard focus.
    ///@{
    TNotifyEvent OnEnter, OnExit;
    ///@}

    /// Keyboard entry points, called by the host; the base versions fire the handlers.
    ///@{
    virtual void KeyDown(std::uint16_t& Key, TShiftState Shift);
    virtual void KeyUp(std::uint16_t& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    ///@}
    /// The wheel message: Delta is a multiple of +-120; (X, Y) client pixels.
    virtual void MouseWheel(TShiftState Shift, int Delta, int X, int Y);
    /// Erase-background message; true means handled (nothing is erased).
    virtual bool EraseBackground();
    /// Dialog-code query: which keys the control wants instead of the dialog.
    virtual int GetDialogCode() const { return 0; }

protected:
    /// Draws the client area on the surface; called by DeliverPaint.
    virtual void PaintWindow();
    /// Called as the focus arrives and leaves; fire OnEnter and OnExit.
    ///@{
    virtual void DoEnter() {
        if (OnEnter) OnEnter(this);
    }
    virtual void DoExit() {
        if (OnExit) OnExit(this);
    }
    ///@}
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
    /// A control whose canvas draws on its surface; drawing outside a paint is presented at once.
    explicit TCustomControl(TComponent* Owner);
    ~TCustomControl() override;
    /// The canvas on the window surface; owned by the control.
    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    /// Draws the control; called on each paint, with the canvas brush set to Color.
    virtual void Paint() {}
    /// Sets the canvas brush to the solid Color and the pen to pmCopy, then calls Paint.
    void PaintWindow() override;
    /// Finishes the canvas's pending drawing.
    void FlushSurface() override;
    /// Binds the canvas to the resized surface.
    void SurfaceResized() override;

private:
    std::unique_ptr<TCanvas> FCanvas;
};

/// What a real window does for a control: repaint requests, presentation of
/// the surface and the mouse cursor. Implemented by the Qt host widget.
class CHARTIX_PLATFORM_EXPORT TControlHost {
public:
    virtual ~TControlHost() = default;
    /// The control asks for a paint; the host has DeliverPaint run and shows the result.
    virtual void RequestPaint() = 0;
    /// The surface has new pixels (after a paint, or drawing outside one) to show.
    virtual void Present() = 0;
    /// The control's cursor is now Cursor.
    virtual void CursorChanged(TCursor Cursor) = 0;
    /// The control took the focus; the host gives its window the keyboard focus.
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
    /// The control with the keyboard focus, or null. Setting it fires OnExit of the old one, then
    /// OnEnter of the new one.
    ///@{
    TWinControl* FocusedControl() const { return FFocused; }
    void SetFocusedControl(TWinControl* Control);
    ///@}
    /// Queues a paint for Control; a control is queued once.
    void Schedule(TWinControl* Control);
    /// Drops Control from the queued paints, those being delivered and the focus;
    /// called as it is destroyed.
    void Forget(TWinControl* Control);

private:
    std::vector<TWinControl*> FPending;
    // Paints being delivered right now (one list per nested ProcessMessages);
    // Forget blanks destroyed controls in them.
    std::vector<std::vector<TWinControl*>*> FDelivering;
    TWinControl* FFocused = nullptr;
};

/// The application object; made on first use and never freed.
CHARTIX_PLATFORM_EXPORT TApplication* Application();

} // namespace Platform
