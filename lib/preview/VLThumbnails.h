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

/// The page overview of the preview window: a column of small page images of the pane's job,
/// drawn only for the pages in view and kept in a bounded cache; the shown page is framed, a
/// click or the arrow keys show another page in the pane.
class VELLARO_EXPORT TPreviewThumbnails : public TCustomPanel {
    Q_OBJECT
public:
    /// At most this many page images are kept.
    static constexpr int CacheLimit = 48;

    /// An overview without a pane: it shows nothing until SetPreview.
    explicit TPreviewThumbnails(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TPreviewThumbnails() override;

    /// The pane whose job the overview shows and whose page it follows.
    TCustomPreview* Preview() const { return FPreviewLink.Get(); }
    /// Links the overview to a pane (nullptr unlinks it).
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
    /// How many page images were drawn since the control was made.
    int RenderCount() const { return FRenders; }
    /// The scroll bar that moves through the pages.
    QScrollBar* ScrollBar() const { return FScrollBar; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    /// A click on a thumbnail shows that page in the pane.
    void mousePressEvent(QMouseEvent* event) override;
    /// The arrow keys, Home and End move through the pages.
    void keyPressEvent(QKeyEvent* event) override;
    /// The wheel scrolls the overview.
    void wheelEvent(QWheelEvent* event) override;
    /// A new width gives new thumbnail sizes.
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
