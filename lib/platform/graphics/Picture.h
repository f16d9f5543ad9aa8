#pragma once
// TPicture: the picture an image control shows, any image Qt reads. Form files store it as
// Picture.Data, PNG data.

#include "platform/core/Icon.h"
#include "platform/core/Types.h"

#include <QImage>
#include <QMetaType>
#include <functional>

namespace Vellaro {

/// Raised for data or a file that holds no picture Qt can read.
class VELLARO_EXPORT EInvalidGraphic : public Exception {
    using Exception::Exception;
};

class VELLARO_EXPORT TPicture {
public:
    TPicture() = default;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    bool Empty() const { return FImage.isNull(); }
    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    const QImage& Image() const { return FImage; }
    void SetImage(const QImage& image);
    /// Copies source's picture (nullptr empties it).
    void Assign(const TPicture* source);
    /// Takes the icon's largest picture.
    void Assign(const TIcon& icon);
    /// Reads an image file (or a Qt resource); raises EInvalidGraphic when it holds no picture.
    void LoadFromFile(const QString& path);
    /// Runs after every change of the picture (the image control repaints).
    void SetOnChange(std::function<void()> handler) { FOnChange = std::move(handler); }

private:
    QImage FImage;
    std::function<void()> FOnChange;
};

} // namespace Vellaro

Q_DECLARE_METATYPE(Vellaro::TPicture*)
