#pragma once
// Typing a label onto the map: a click fixes where the text starts, a caret
// shows the insertion point, typed characters appear at once in the map's
// default text font, and Enter, Escape or a click elsewhere turns the typed
// string into a text object in the editable layer.
//
// While typing, the text is drawn straight on the window over a saved copy of
// the pixels beneath it, so no keystroke repaints the map.

#include "../core/ChartixExport.h"
#include "../core/MapTools.h"
#include "../platform/Bitmap.h"
#include "../platform/Types.h"

#include <string>

namespace Mapobjects {

/// Types a label onto the map: a left click starts a text there, typed characters show at
/// once in the map's default text font, and Enter, Escape or the next click adds it as a
/// text object to the editable layer.
class CHARTIX_EXPORT TTextTool : public TCustomMapTool {
public:
    /// Creates the tool, named "Text Tool", with the I-beam cursor.
    explicit TTextTool(Platform::TComponent* Owner);

    void DblClick() override;
    /// A left click completes the text being typed, if any, and starts a new one there.
    void MouseDown(Platform::TMouseButton Button, Platform::TShiftState Shift, int X,
                   int Y) override;
    /// Enter and Escape complete the text; Backspace, Delete, Home, End and the left and right
    /// arrows edit it and move the caret.
    void KeyDown(std::uint16_t& Key, Platform::TShiftState Shift) override;
    void KeyUp(std::uint16_t& Key, Platform::TShiftState Shift) override;
    /// Inserts the typed character at the caret; the Enter, line feed, Backspace, Escape and
    /// Delete characters are ignored.
    void KeyPress(char& Key) override;
    /// Adds the typed text (also an empty one) at TextOrigin to the editable
    /// layer and ends editing; false, doing nothing, without one.
    bool Complete() override;
    /// Ends editing without adding anything.
    void Cancel() override;
    /// Ends editing; the text drawn stays on the window until the next repaint.
    void Done() override;
    /// Enabled when the map has layers and one of them is editable.
    bool GetEnabled() const override;

    using TCustomMapTool::Init;
    /// Starts a new text at client pixel (X, Y).
    void Init(int X, int Y);
    /// Draws EditText at TextOrigin over the restored background.
    void Draw();
    /// Moves the caret, kept within 0 … the text's length.
    void SetCurrentChar(int Value);
    /// Deletes the character before (Backward) or after the caret.
    void DeleteCurrentChar(bool Backward);

    /// The number of characters left of the caret.
    int CurrentChar() const { return FCurrentChar; }
    /// Whether a text is being typed.
    bool Editing() const { return FEditing; }
    /// The client pixel of the text's top-left corner.
    Platform::TPoint TextOrigin() const { return FTextOrigin; }
    /// The text typed so far.
    const std::string& EditText() const { return FEditText; }
    /// The window pixels that the drawn text covers.
    const Platform::TBitmap& Background() const { return FBackground; }

private:
    int FCurrentChar = 0;
    Platform::TBitmap FBackground;
    bool FEditing = false;
    Platform::TPoint FTextOrigin{0, 0};
    std::string FEditText;
};

} // namespace Mapobjects
