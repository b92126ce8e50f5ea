#pragma once
// A list of pictures of one size, handed out by index (toolbar and marker
// images).

#include "Bitmap.h"
#include "Classes.h"
#include "PlatformExport.h"

#include <memory>
#include <vector>

namespace Platform {

/// A list of pictures of one size, each a bitmap of its own, handed out by index.
class CHARTIX_PLATFORM_EXPORT TImageList : public TComponent {
public:
    /// An empty list of Width × Height pictures (negative sizes become 0), owned by Owner.
    explicit TImageList(TComponent* Owner, int Width = 16, int Height = 16);

    /// The size of every picture, in pixels.
    ///@{
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    ///@}
    /// The number of pictures.
    int Count() const { return static_cast<int>(FImages.size()); }
    /// Appends a copy of Image, cut or widened to the list's size; its index.
    int Add(const TBitmap* Image);
    void Delete(int Index); ///< EListError outside 0..Count-1
    /// Removes every picture.
    void Clear() { FImages.clear(); }
    /// Copies picture Index into Bitmap (sized to the list); false, leaving
    /// Bitmap alone, for an index outside the list.
    bool GetBitmap(int Index, TBitmap* Bitmap) const;

private:
    int FWidth, FHeight;
    std::vector<std::unique_ptr<TBitmap>> FImages;
};

} // namespace Platform
