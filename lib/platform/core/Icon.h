#pragma once
// TIcon: a picture of several sizes held by value, as forms and the application show it.

#include "platform/core/Types.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace Vellaro {

/// An icon held by value; Assign copies another icon's picture.
class VELLARO_EXPORT TIcon {
public:
    bool Empty() const { return FIcon.isNull(); }
    void Assign(const TIcon& source) { FIcon = source.FIcon; }
    const QIcon& Icon() const { return FIcon; }
    void SetIcon(const QIcon& icon) { FIcon = icon; }
    /// The icon's largest picture (a null image for an empty icon).
    QImage LargestImage() const
    {
        QSize largest;
        for (const QSize& s : FIcon.availableSizes())
            if (s.width() * s.height() > largest.width() * largest.height())
                largest = s;
        return largest.isValid() ? FIcon.pixmap(largest).toImage() : QImage();
    }

private:
    QIcon FIcon;
};

} // namespace Vellaro
