#pragma once
// TImageList: a list of equally sized images, handed out by index into a bitmap.

#include "platform/core/Component.h"
#include "platform/graphics/Graphics.h"

#include <QImage>
#include <vector>

namespace Vellaro {

/// Images of one size (16 x 16 unless set otherwise), numbered from 0.
class VELLARO_EXPORT TImageList : public TComponent {
public:
    explicit TImageList(TComponent* AOwner = nullptr);
    ~TImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    /// Sets the image size (at least 1 x 1) and empties the list, as images keep one size.
    void SetSize(int width, int height);
    int Count() const { return int(FImages.size()); }
    /// Adds a copy of the bitmap scaled to the list's size; returns its index.
    int Add(const TBitmap& Image);
    void Clear() { FImages.clear(); }
    /// Makes Image a Width x Height bitmap showing image Index. An index without an image
    /// leaves it blank (white) and returns false.
    bool GetBitmap(int Index, TBitmap* Image) const;

private:
    int FWidth = 16;
    int FHeight = 16;
    std::vector<QImage> FImages;
};

} // namespace Vellaro
