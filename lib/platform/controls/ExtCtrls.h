#pragma once
// Extra controls: a notebook that shows one of its pages at a time, its pages, and an image
// control that shows a picture.

#include "platform/controls/Controls.h"
#include "platform/graphics/Picture.h"

#include <QStackedWidget>
#include <QStringList>
#include <QWidget>
#include <optional>

namespace Vellaro {

class TNotebook;

/// One page of a notebook: a plain container for the controls shown on it. A form file nests
/// it in its notebook; pages join their notebook in the order they are read.
class VELLARO_EXPORT TPage : public QWidget, public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    explicit TPage(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TPage() override;
    QWidget* Widget() override { return this; }
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value) { FCaption = value; }
    /// The notebook the page is in, or nullptr.
    TNotebook* Notebook() const;
    /// Joins Parent, which must be a notebook (EComponentError otherwise).
    void SetParentComponent(TComponent* Parent) override;

private:
    QString FCaption;
};

/// A stack of pages of which one shows. PageIndex and ActivePage (the shown page's caption)
/// are checked against the pages; while a form file is read they wait until its pages are
/// there. OnPageChanged runs when PageIndex changes.
class VELLARO_EXPORT TNotebook : public QStackedWidget, public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int PageIndex READ PageIndex WRITE SetPageIndex)
    Q_PROPERTY(QString ActivePage READ ActivePage WRITE SetActivePage)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(Vellaro::TNotifyEvent OnPageChanged READ OnPageChanged WRITE SetOnPageChanged)
public:
    explicit TNotebook(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TNotebook() override;
    QWidget* Widget() override { return this; }

    int PageCount() const { return count(); }
    /// The page at Index; raises EComponentError outside 0..PageCount-1.
    TPage* Page(int Index) const;
    /// The pages' captions, in page order.
    QStringList Pages() const;
    /// Appends a page (taking it out of another notebook).
    void AddPage(TPage* APage);
    /// Creates a page with that caption, owned by the notebook's owner, and appends it.
    TPage* AddPage(const QString& ACaption);

    /// The shown page: -1 only when there are no pages.
    int PageIndex() const { return currentIndex(); }
    /// Raises EComponentError outside 0..PageCount-1 (-1 is accepted only without pages).
    void SetPageIndex(int value);
    /// The caption of the shown page (empty without pages).
    QString ActivePage() const;
    /// Shows the first page with that caption; raises EComponentError when none has it.
    void SetActivePage(const QString& value);
    TNotifyEvent OnPageChanged() const { return FOnPageChanged; }
    void SetOnPageChanged(TNotifyEvent value) { FOnPageChanged = std::move(value); }

protected:
    void Loaded() override;

private:
    TNotifyEvent FOnPageChanged;
    std::optional<int> FLoadedPageIndex;
    std::optional<QString> FLoadedActivePage;
    bool FApplyingLoaded = false;
};

/// Shows a picture: at its own size from the top left, centred (Center), scaled to the control
/// (Stretch), keeping its proportions (Proportional: also shrinks a picture larger than the
/// control). Transparent leaves out the colour of the lower left pixel of a picture without
/// an alpha channel.
class VELLARO_EXPORT TImage : public QWidget, public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(Vellaro::TPicture* Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(bool Proportional READ Proportional WRITE SetProportional)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
public:
    explicit TImage(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TImage() override;
    QWidget* Widget() override { return this; }

    /// The image's own picture; changing it repaints the control.
    TPicture* Picture() const { return FPicture.get(); }
    /// Copies Value (nullptr empties the picture).
    void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
    bool Center() const { return FCenter; }
    void SetCenter(bool value) { FCenter = value; update(); }
    bool Proportional() const { return FProportional; }
    void SetProportional(bool value) { FProportional = value; update(); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value) { FStretch = value; update(); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    /// Where the picture is drawn, in the control's coordinates.
    TRect DestRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PictureChanged();
    std::unique_ptr<TPicture> FPicture;
    QImage FShown; // the picture as drawn (after Transparent)
    bool FCenter = false;
    bool FProportional = false;
    bool FStretch = false;
    bool FTransparent = false;
};

} // namespace Vellaro
