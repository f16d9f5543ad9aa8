#include "platform/graphics/ImageList.h"

#include "platform/graphics/Canvas.h"

#include <QPainter>
#include <algorithm>

namespace Vellaro {

TImageList::TImageList(TComponent* AOwner)
    : TComponent(AOwner)
{
}

TImageList::~TImageList()
{
    // List views showing these images forget them while the list is still whole.
    DestroyComponent();
}

void TImageList::SetSize(int width, int height)
{
    FWidth = std::max(width, 1);
    FHeight = std::max(height, 1);
    FImages.clear();
}

int TImageList::Add(const TBitmap& Image)
{
    if (Image.Empty())
        throw EInvalidOperation(QStringLiteral("Cannot add an empty image to an image list"));
    // Transparent parts show white, as on the paper the images are printed on.
    QImage image(FWidth, FHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(0, 0, FWidth, FHeight), Image.Image());
    painter.end();
    FImages.push_back(std::move(image));
    return Count() - 1;
}

bool TImageList::GetBitmap(int Index, TBitmap* Image) const
{
    if (!Image)
        throw EInvalidOperation(QStringLiteral("No bitmap to copy the image into"));
    if (Index < 0 || Index >= Count()) {
        Image->SetSize(FWidth, FHeight);
        return false;
    }
    const TBitmap source(FImages[size_t(Index)]);
    Image->Assign(source);
    return true;
}

} // namespace Vellaro
