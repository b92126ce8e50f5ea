#include "platform/ImageList.h"

namespace Platform {

TImageList::TImageList(TComponent* Owner, int Width, int Height)
    : TComponent(Owner), FWidth(Width > 0 ? Width : 0), FHeight(Height > 0 ? Height : 0) {}

int TImageList::Add(const TBitmap* Image) {
    auto Copy = std::make_unique<TBitmap>();
    Copy->SetSize(FWidth, FHeight);
    if (Image && !Image->Empty())
        Copy->Canvas()->CopyRect(TRect{0, 0, FWidth, FHeight}, Image->Canvas(),
                                 TRect{0, 0, FWidth, FHeight});
    FImages.push_back(std::move(Copy));
    return Count() - 1;
}

void TImageList::Delete(int Index) {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    FImages.erase(FImages.begin() + Index);
}

bool TImageList::GetBitmap(int Index, TBitmap* Bitmap) const {
    if (!Bitmap || Index < 0 || Index >= Count()) return false;
    Bitmap->Assign(FImages[static_cast<size_t>(Index)].get());
    return true;
}

} // namespace Platform
