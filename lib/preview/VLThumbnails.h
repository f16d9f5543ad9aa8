#pragma once
// A page overview beside the preview pane: a column of small page images of the pane's job,
// the shown page marked. Only the thumbnails in view are drawn, and their images are kept in
// a cache of bounded size, so memory stays flat in the page count. A click or the arrow keys
// go to a page.

#include "preview/VLPreview.h"

#include <QImage>
#include <list>

class QScrollBar;

namespace Vellaro {

class VELLARO_EXPORT TPreviewThumbnails : public TCustomPanel {
    Q_OBJECT
public:
    /// At most this many page images are kept.
    static constexpr int CacheLimit = 48;

    explicit TPreviewThumbnails(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TPreviewThumbnails() override;

    TCustomPreview* Preview() const { return FPreviewLink.Get(); }
    void SetPreview(TCustomPreview* Value);
    /// The pane changed: forgets the images (the job may draw differently now) and keeps the
    /// shown page in view.
    void Update() override;

    /// The size of a page image, from the pane's page proportions and this control's width.
    QSize ThumbnailSize() const;
    /// The page whose thumbnail lies at a point of this control, or 0.
    int PageAt(QPoint p) const;
    /// The pages whose thumbnails are in view.
    std::pair<int, int> VisiblePages() const;
    /// How many page images are cached, and how many were drawn since the control was made.
    int CachedImages() const { return int(FCache.size()); }
    int RenderCount() const { return FRenders; }
    QScrollBar* ScrollBar() const { return FScrollBar; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int PageCount() const;
    int CellHeight() const;
    void LayoutScrollBar();
    void ScrollToPage(int page);
    void GoToPage(int page);
    /// The image of a page, drawn by the job when it is not cached.
    const QImage& PageImage(int page);

    TPreviewLink FPreviewLink{this};
    QScrollBar* FScrollBar = nullptr;
    struct TCached {
        int Page;
        QImage Image;
    };
    std::list<TCached> FCache; ///< most recently used first
    int FRenders = 0;
};

} // namespace Vellaro
