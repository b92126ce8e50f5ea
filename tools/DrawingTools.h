#pragma once
// Tools that draw new objects into the map's editable layer with the mouse:
// a line or a rectangle by one drag, a polyline or a region vertex by vertex,
// a symbol or a geodesic circle by a click. The new objects take the map's
// default styles from the layer. Without an editable layer the tools are
// disabled and create nothing.

#include "../core/ChartixExport.h"
#include "../objects/Parts.h"
#include "../platform/Types.h"
#include "PressMoveAndReleaseTool.h"

namespace Mapobjects {

class TMapLayer;

/// True when Map has a layer whose editable switch is on.
CHARTIX_EXPORT bool HasEditableLayer(TChartix* Map);

/// A straight line from the press point to the release point.
class CHARTIX_EXPORT TLineTool : public TCustomPressMoveAndReleaseTool {
public:
    /// Creates the tool, named "Line Tool", with the cross cursor.
    explicit TLineTool(Platform::TComponent* Owner);

    /// Draws the line from the press point to the pointer with the rubber-band pen.
    void Draw() override;
    /// Adds the line; false (nothing added) without an editable layer or when
    /// the press and release pixels are the same.
    bool Complete() override;
    bool GetEnabled() const override;
};

/// An axis-parallel rectangle with its corners as dragged (not normalised).
class CHARTIX_EXPORT TRectTool : public TCustomRectTool {
public:
    /// Creates the tool, named "Rectangle Tool", with the cross cursor.
    explicit TRectTool(Platform::TComponent* Owner);

    /// Adds the rectangle; false (nothing added) without an editable layer or when the press
    /// and release pixels are the same.
    bool Complete() override;
    bool GetEnabled() const override;
};

/// Collects vertices by left clicks; a double click (or Complete) finishes the
/// figure. Between clicks a moving segment follows the pointer.
class CHARTIX_EXPORT TCustomMultiPointTool : public TCustomMapTool {
public:
    /// Creates the tool with the cross cursor.
    explicit TCustomMultiPointTool(Platform::TComponent* Owner);

    /// Completes the figure and swallows the press that the double click brings next.
    void DblClick() override;
    /// A left press fixes a vertex (the first one, or one closing the moving segment); moves
    /// redraw the moving figure to the pointer once there is a vertex.
    ///@{
    void MouseDown(Platform::TMouseButton Button, Platform::TShiftState Shift, int X,
                   int Y) override;
    void MouseMove(Platform::TShiftState Shift, int X, int Y) override;
    ///@}
    /// Erases the moving figure, builds the object and starts afresh; true
    /// when an object was added.
    bool Complete() override;
    /// Erases the moving figure and keeps the vertices, so drawing can go on
    /// from the last one.
    void Cancel() override;
    /// Both drop the vertices collected (repainting the map if there were any) and forget a
    /// press still to be swallowed.
    ///@{
    void Init() override;
    void Done() override;
    ///@}
    bool GetEnabled() const override;

    /// Draws the moving figure so that drawing it again erases it.
    virtual void Draw() {}
    /// Builds the object from Points and adds it; false when it cannot.
    virtual bool CreateObject() { return false; }

    /// The vertices fixed so far, in map units, in click order.
    const TMapPoints& Points() const { return FPoints; }
    /// True after a double click: the press it brings next is swallowed.
    bool SkipNextPress() const { return FSkipNextPress; }
    /// The first vertex, the last fixed one and the pointer, in client pixels.
    ///@{
    Platform::TPoint FirstPoint() const { return FFirstPoint; }
    Platform::TPoint PrevPoint() const { return FPrevPoint; }
    Platform::TPoint CurPoint() const { return FCurPoint; }
    ///@}

protected:
    /// Storage of Points(), SkipNextPress() and the pixel positions, for subclasses.
    ///@{
    TMapPoints FPoints;
    bool FSkipNextPress = false;
    Platform::TPoint FFirstPoint{0, 0}, FPrevPoint{0, 0}, FCurPoint{0, 0};
    ///@}

private:
    void Restart();
    // Erases the moving figure when it is shown.
    void HideFigure();

    bool FFigureShown = false;
};

/// An open path of at least two vertices.
class CHARTIX_EXPORT TPolylineTool : public TCustomMultiPointTool {
public:
    /// Creates the tool, named "Polyline Tool".
    explicit TPolylineTool(Platform::TComponent* Owner);
    void Draw() override;
    bool CreateObject() override;
};

/// A closed ring of at least three vertices, stored with the first vertex
/// repeated at the end.
class CHARTIX_EXPORT TRegionTool : public TCustomMultiPointTool {
public:
    /// Creates the tool, named "Region Tool".
    explicit TRegionTool(Platform::TComponent* Owner);
    void Draw() override;
    bool CreateObject() override;
};

/// One symbol per click, in the map's default symbol shape and font.
class CHARTIX_EXPORT TSymbolTool : public TCustomMapTool {
public:
    /// Creates the tool, named "Symbol Tool", with the cross cursor.
    explicit TSymbolTool(Platform::TComponent* Owner);

    /// Swallows the press the double click brings next: one object per double click.
    void DblClick() override;
    /// A left press records ClickPoint and calls Complete, unless it is the press to swallow.
    void MouseDown(Platform::TMouseButton Button, Platform::TShiftState Shift, int X,
                   int Y) override;
    /// Adds a symbol at ClickPoint; false (nothing added) without an editable layer.
    bool Complete() override;
    /// Both forget a press still to be swallowed.
    ///@{
    void Init() override;
    void Done() override;
    ///@}
    bool GetEnabled() const override;

    /// True after a double click: the press it brings next is swallowed.
    bool SkipNextPress() const { return FSkipNextPress; }
    /// The client pixel of the last accepted press.
    Platform::TPoint ClickPoint() const { return FClickPoint; }

protected:
    /// The map point of the click, on a map with an editable layer; null
    /// when there is nothing to add to.
    TMapLayer* Target(double& MX, double& MY) const;

    /// Storage of SkipNextPress() and ClickPoint(), for subclasses.
    ///@{
    bool FSkipNextPress = false;
    Platform::TPoint FClickPoint{0, 0};
    ///@}
};

/// One geodesic circle per click, centred there, with the radius and number
/// of points a new circle has.
class CHARTIX_EXPORT TCircleTool : public TSymbolTool {
public:
    /// Creates the tool, named "Circle Tool".
    explicit TCircleTool(Platform::TComponent* Owner);
    /// Adds a circle centred at ClickPoint; false (nothing added) without an editable layer.
    bool Complete() override;
};

} // namespace Mapobjects
