#pragma once
// A list of pictures of one size, handed out by index (toolbar and marker
// images).

#include "Bitmap.h"
#include "Classes.h"
#include "PlatformExport.h"

#include <memory>
#include <vector>

namespace Platform {

class CHARTIX_PLATFORM_EXPORT TImageList : public TComponent {
public:
    explicit TImageList(TComponent* Owner, int Width = 16, int Height = 16);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return static_cast<int>(FImages.size()); }
    /// Appends a copy of Image, cut or widened to the list's size; its index.
    int Add(const TBitmap* Image);
    void Delete(int Index); ///< EListError outside 0..Count-1
    void Clear() { FImages.clear(); }
    /// Copies picture Index into Bitmap (sized to the list); false, leaving
    /// Bitmap alone, for an index outside the list.
    bool GetBitmap(int Index, TBitmap* Bitmap) const;

private:
    int FWidth, FHeight;
    std::vector<std::unique_ptr<TBitmap>> FImages;
};

} // namespace Platform
