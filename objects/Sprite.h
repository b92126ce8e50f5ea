#pragma once
// A picture pinned to one map point and meant to move often (a vehicle, a
// marker following a position). It is drawn as its glyph centred on the
// point's pixel; the pixels beneath are saved first and put back when it
// moves or hides, so moving it does not repaint the map.

#include "../core/ChartixExport.h"
#include "../platform/Bitmap.h"
#include "MapObject.h"

namespace Platform {
class TImageList;
}

namespace Mapobjects {

/// A picture pinned to one map point and meant to move often: it saves the pixels beneath
/// it and puts them back when it moves or hides, so the map is not repainted.
class CHARTIX_EXPORT TSprite : public TCustomMapObject {
public:
    /// False: the index asks the object itself.
    bool KeepsBaseSpatialTests() const override { return false; }
    /// At (0, 0), visible, with an empty glyph that takes its transparent
    /// colour from itself.
    TSprite();
    ~TSprite() override;

    /// The point, in map units; setting a coordinate moves a visible sprite on the window.
    ///@{
    double X();
    double Y();
    void SetX(double Value);
    void SetY(double Value);
    ///@}
    /// Erases the sprite at its old place and draws it at the new one, once.
    void Move(double X, double Y);

    /// The picture drawn, with its transparent colour taken from the picture itself.
    const Platform::TBitmap& Glyph() const { return FGlyph; }
    /// Copies Bitmap into the sprite's own glyph.
    void SetGlyph(const Platform::TBitmap* Bitmap);
    /// Whether the sprite is drawn; switching shows it or puts the pixels beneath back.
    ///@{
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    ///@}
    /// The list pictures come from; not owned, it must outlive its use here.
    ///@{
    Platform::TImageList* ImageList() const { return FImageList; }
    void SetImageList(Platform::TImageList* List);
    ///@}
    /// The index of the picture last taken from the image list; -1 when none was.
    int ImageIndex() const { return FImageIndex; }
    /// Takes picture Index from the image list; the sprite is visible after.
    void SetImageIndex(int Index);
    /// The glyph was changed in place: draws it anew.
    void GlyphChanged(Platform::TObject* Sender = nullptr);

    /// Saves the pixels beneath and draws the glyph on the map's canvas.
    void Show();
    /// Puts the saved pixels back.
    void Hide();
    /// Copies the window pixels under the glyph's box into SavedBackground, and draws them
    /// back when the sprite lies in the view; nothing without a map.
    ///@{
    void SaveBackground();
    void RestoreBackground();
    ///@}
    /// The window pixels that the glyph covers while it is shown.
    const Platform::TBitmap& SavedBackground() const { return FSavedBackground; }

    /// As part of a repaint: shown anew when the point lies within the window.
    void Draw() override;
    /// The glyph's box on the screen, edges included.
    bool ContainsPoint(double X, double Y) override;
    /// Always false: a sprite takes part in no object-to-object test.
    ///@{
    bool Intersects(TCustomMapObject*) override { return false; }
    bool Contains(TCustomMapObject*) override { return false; }
    ///@}
    /// True when a corner of the glyph's box lies in the rectangle.
    bool IntersectsRect(double X1, double Y1, double X2, double Y2) override;
    /// True when the point lies in the rectangle.
    bool WithinRect(double X1, double Y1, double X2, double Y2) override;
    /// Always false.
    bool ContainsRect(double, double, double, double) override { return false; }

private:
    TMapPoint& Anchor();
    // Sets the point's X (IsX) or Y, creating the point when missing.
    void SetCoordinate(bool IsX, double Value);
    // The glyph's box in client pixels: W × H around the point's pixel.
    Platform::TRect GlyphBox();

    Platform::TBitmap FGlyph;
    Platform::TBitmap FSavedBackground;
    bool FMoving = false;
    bool FVisible = true;
    Platform::TImageList* FImageList = nullptr;
    int FImageIndex = -1;
};

} // namespace Mapobjects
