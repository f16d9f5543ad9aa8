#include "platform/controls/Controls.h"

#include "platform/controls/Menus.h"
#include "platform/core/Application.h"

#include "platform/core/Application.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <vector>

namespace Vellaro {

Qt::CursorShape CursorShape(TCursor cursor)
{
    switch (cursor) {
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    default: return Qt::ArrowCursor;
    }
}

int VirtualKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    default: return 0;
    }
}

int GetSystemMetrics(int index)
{
    if (index == SM_CXVSCROLL || index == SM_CYHSCROLL)
        return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return 0;
}

// ---- Alignment ----------------------------------------------------------------------------

namespace {
/// The aligned controls, in the order they were aligned, with their widgets (kept so that no
/// virtual call reaches a control that is being destroyed).
struct TAlignedControl {
    TWinControl* Control;
    QWidget* Widget;
};
std::vector<TAlignedControl>& AlignedControls()
{
    static std::vector<TAlignedControl> list;
    return list;
}

/// Re-aligns a parent's controls when the parent changes size.
class TAlignWatcher : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize && watched->isWidgetType())
            GuardEvent([&] { AlignControls(static_cast<QWidget*>(watched)); });
        return false;
    }
};
TAlignWatcher* AlignWatcher()
{
    static QPointer<TAlignWatcher> watcher;
    if (!watcher)
        watcher = new TAlignWatcher;
    return watcher;
}
} // namespace

void AlignControls(QWidget* parent)
{
    if (!parent)
        return;
    QRect rest = parent->contentsRect();
    const auto place = [&](TAlign align) {
        for (const TAlignedControl& entry : AlignedControls()) {
            QWidget* w = entry.Widget;
            if (w->parentWidget() != parent || entry.Control->Align() != align || w->isHidden())
                continue;
            switch (align) {
            case alTop: w->setGeometry(rest.left(), rest.top(), rest.width(), w->height()); rest.setTop(rest.top() + w->height()); break;
            case alBottom: w->setGeometry(rest.left(), rest.bottom() + 1 - w->height(), rest.width(), w->height()); rest.setBottom(rest.bottom() - w->height()); break;
            case alLeft: w->setGeometry(rest.left(), rest.top(), w->width(), rest.height()); rest.setLeft(rest.left() + w->width()); break;
            case alRight: w->setGeometry(rest.right() + 1 - w->width(), rest.top(), w->width(), rest.height()); rest.setRight(rest.right() - w->width()); break;
            case alClient: w->setGeometry(rest.left(), rest.top(), std::max(0, rest.width()), std::max(0, rest.height())); break;
            case alNone: break;
            }
        }
    };
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient})
        place(align);
}

// ---- TWinControl --------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    for (const QMetaObject::Connection& c : FPopupConnections)
        QObject::disconnect(c);
    std::erase_if(AlignedControls(), [this](const TAlignedControl& e) { return e.Control == this; });
}

void TWinControl::InitWidget()
{
    QWidget* w = Widget();
    w->setAutoFillBackground(true);
    SetColor(FColor);
}

int TWinControl::Left() const { return Widget()->x(); }
int TWinControl::Top() const { return Widget()->y(); }
int TWinControl::Width() const { return Widget()->width(); }
int TWinControl::Height() const { return Widget()->height(); }

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    QWidget* w = Widget();
    const QRect bounds(ALeft, ATop, std::max(0, AWidth), std::max(0, AHeight));
    if (w->geometry() == bounds)
        return;
    w->setGeometry(bounds);
    if (FAlign != alNone)
        AlignControls(w->parentWidget());
}

int TWinControl::ClientWidth() const { return std::max(0, Widget()->contentsRect().width()); }
int TWinControl::ClientHeight() const { return std::max(0, Widget()->contentsRect().height()); }

void TWinControl::SetAlign(TAlign value)
{
    if (FAlign == value)
        return;
    FAlign = value;
    auto& list = AlignedControls();
    std::erase_if(list, [this](const TAlignedControl& e) { return e.Control == this; });
    if (value != alNone)
        list.push_back({this, Widget()});
    if (QWidget* parent = Widget()->parentWidget()) {
        parent->installEventFilter(AlignWatcher());
        AlignControls(parent);
    }
}

void TWinControl::SetParent(TWinControl* parent)
{
    SetParentWidget(parent ? parent->ClientWidget() : nullptr);
}

void TWinControl::SetParentWidget(QWidget* parent)
{
    QWidget* w = Widget();
    if (w->parentWidget() == parent)
        return;
    w->setParent(parent);
    // A widget given a parent starts hidden in Qt; a control keeps its Visible.
    if (parent)
        w->setVisible(FVisible);
    FollowParent();
    if (parent && FAlign != alNone) {
        parent->installEventFilter(AlignWatcher());
        AlignControls(parent);
    }
}

QWidget* TWinControl::Parent() const { return Widget()->parentWidget(); }

TComponent* ParentComponentOf(const QWidget* widget)
{
    for (QWidget* w = widget->parentWidget(); w; w = w->parentWidget())
        if (auto* c = dynamic_cast<TComponent*>(w))
            return c;
    return nullptr;
}

void TWinControl::SetPopupMenu(TPopupMenu* value)
{
    if (value == FPopupMenu)
        return;
    if (FPopupMenu)
        RemoveFreeNotification(FPopupMenu);
    for (const QMetaObject::Connection& c : FPopupConnections)
        QObject::disconnect(c);
    FPopupConnections.clear();
    FPopupMenu = value;
    QWidget* w = Widget();
    // An editable combo box's text field shows a menu of its own unless told otherwise.
    std::vector<QWidget*> targets{w};
    for (QLineEdit* edit : w->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
        targets.push_back(edit);
    for (QWidget* target : targets) {
        target->setContextMenuPolicy(FPopupMenu ? Qt::CustomContextMenu : Qt::DefaultContextMenu);
        if (!FPopupMenu)
            continue;
        FPopupConnections.push_back(QObject::connect(target, &QWidget::customContextMenuRequested, w, [this, target](const QPoint& pos) {
            GuardEvent([&] {
                if (FPopupMenu) {
                    const QPoint global = target->mapToGlobal(pos);
                    FPopupMenu->Popup(global.x(), global.y());
                }
            });
        }));
    }
    if (FPopupMenu)
        FreeNotification(FPopupMenu);
}

void TWinControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu)
        SetPopupMenu(nullptr);
}

TComponent* TWinControl::GetParentComponent() const
{
    return ParentComponentOf(Widget());
}

void TWinControl::SetParentComponent(TComponent* Parent)
{
    if (auto* control = dynamic_cast<TWinControl*>(Parent))
        SetParent(control);
}

void TWinControl::SetVisible(bool value)
{
    QWidget* w = Widget();
    FVisible = value;
    if (value == !w->isHidden())
        return;
    if (value && !w->parentWidget() && w->windowType() != Qt::Window)
        return;
    w->setVisible(value);
    if (FAlign != alNone)
        AlignControls(w->parentWidget());
}

bool TWinControl::Enabled() const { return !Widget()->testAttribute(Qt::WA_ForceDisabled); }
void TWinControl::SetEnabled(bool value) { Widget()->setEnabled(value); }

void TWinControl::SetColor(TColor value)
{
    FColor = value;
    FParentColor = false;
    QWidget* w = Widget();
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, ToQColor(value));
    w->setPalette(palette);
}

void TWinControl::SetParentColor(bool value)
{
    QWidget* parent = Widget()->parentWidget();
    if (value && parent)
        SetColor(FromQColor(parent->palette().color(QPalette::Window)));
    // Set after SetColor, which ends following the parent.
    FParentColor = value;
}

QString TWinControl::Hint() const { return Widget()->property(HintProperty).toString(); }

void TWinControl::SetHint(const QString& value)
{
    // The tool tip shows the short part; the application's hint gets the whole text.
    Widget()->setProperty(HintProperty, value);
    Widget()->setToolTip(GetShortHint(value));
    if (!value.isEmpty())
        Application().TrackHints();
}

void TWinControl::SetShowHint(bool value)
{
    FShowHint = value;
    FParentShowHint = false;
    Widget()->setAttribute(Qt::WA_AlwaysShowToolTips, value);
}

void TWinControl::SetParentCtl3D(bool value)
{
    FParentCtl3D = value;
    FollowParent();
}

void TWinControl::FollowParent()
{
    QWidget* parent = Widget()->parentWidget();
    auto* parentControl = dynamic_cast<TWinControl*>(parent);
    if (!parentControl && parent)
        parentControl = dynamic_cast<TWinControl*>(parent->parentWidget()); // a scroll box's content area
    if (!parentControl)
        return;
    if (FParentCtl3D)
        FCtl3D = parentControl->Ctl3D();
    if (FParentShowHint)
        FShowHint = parentControl->ShowHint();
}

void TWinControl::SetCursor(TCursor value)
{
    FCursor = value;
    if (value == crDefault)
        Widget()->unsetCursor();
    else
        Widget()->setCursor(CursorShape(value));
}

bool TWinControl::TabStop() const { return (Widget()->focusPolicy() & Qt::TabFocus) != 0; }
void TWinControl::SetTabStop(bool value) { Widget()->setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus); }
QFont TWinControl::Font() const { return Widget()->font(); }
void TWinControl::SetFont(const QFont& value) { Widget()->setFont(value); }
bool TWinControl::ParentFont() const { return !Widget()->testAttribute(Qt::WA_SetFont); }
void TWinControl::SetParentFont(bool value)
{
    if (value)
        Widget()->setFont(QFont());
}
void TWinControl::SetFocus() { Widget()->setFocus(Qt::OtherFocusReason); }
bool TWinControl::Focused() const { return Widget()->hasFocus(); }
void TWinControl::Repaint() { Widget()->repaint(); }
void TWinControl::Update()
{
    // Paints now, not when the event loop next runs: a splash form shown before a long
    // start-up is painted before the start-up blocks the loop.
    // Qt repaints a widget's own area only, not its children's: each shown one is repainted.
    QWidget* w = Widget();
    if (!w->isVisible()) {
        w->update();
        return;
    }
    w->repaint();
    for (QWidget* child : w->findChildren<QWidget*>())
        if (child->isVisible())
            child->repaint();
}

// ---- TControlScrollBar / TScrollBox -------------------------------------------------------

QScrollBar* TControlScrollBar::Bar() const
{
    return FOrientation == Qt::Horizontal ? FBox->horizontalScrollBar() : FBox->verticalScrollBar();
}

void TControlScrollBar::SetRange(int value)
{
    value = std::max(0, value);
    if (value == FRange)
        return;
    FRange = value;
    FBox->UpdateScrollBars();
}

int TControlScrollBar::MaxPosition() const
{
    const int client = FOrientation == Qt::Horizontal ? FBox->ClientWidth() : FBox->ClientHeight();
    return std::max(0, FRange - client);
}

int TControlScrollBar::Position() const { return Bar()->value(); }

void TControlScrollBar::SetPosition(int value)
{
    Bar()->setValue(std::clamp(value, 0, MaxPosition()));
}

void TControlScrollBar::SetIncrement(int value)
{
    FIncrement = std::max(1, value);
    Bar()->setSingleStep(FIncrement);
}

bool TControlScrollBar::Tracking() const { return Bar()->hasTracking(); }
void TControlScrollBar::SetTracking(bool value) { Bar()->setTracking(value); }
bool TControlScrollBar::IsScrollBarVisible() const { return MaxPosition() > 0; }

TScrollBox::TScrollBox(TComponent* AOwner, QWidget* parent)
    : QScrollArea(parent), TWinControl(AOwner), FContent(new QWidget), FHorz(this, Qt::Horizontal), FVert(this, Qt::Vertical)
{
    setWidgetResizable(false);
    setWidget(FContent);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    viewport()->setAutoFillBackground(false);
    FContent->setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    FHorz.SetTracking(false);
    FVert.SetTracking(false);
    FHorz.SetIncrement(8);
    FVert.SetIncrement(8);
    SetBorderStyle(bsSingle);
    InitWidget();
    SetColor(clBtnFace);
    UpdateScrollBars();
}

TScrollBox::~TScrollBox()
{
    DestroyComponent();
}

void TScrollBox::SetBorderStyle(TBorderStyle value)
{
    FBorderStyle = value;
    if (value == bsNone)
        setFrameStyle(QFrame::NoFrame);
    else {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
    }
    UpdateScrollBars();
}

QSize TScrollBox::ClientSize(bool* needH, bool* needV) const
{
    // The bars show the way the framework decides it: a bar shows when its range exceeds the
    // client size, and a shown bar narrows the client area for the other one.
    const QSize full = contentsRect().size();
    const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int barHeight = GetSystemMetrics(SM_CYHSCROLL);
    bool v = FVert.Range() > full.height();
    bool h = FHorz.Range() > full.width() - (v ? barWidth : 0);
    v = FVert.Range() > full.height() - (h ? barHeight : 0);
    h = FHorz.Range() > full.width() - (v ? barWidth : 0);
    if (needH)
        *needH = h;
    if (needV)
        *needV = v;
    return QSize(std::max(0, full.width() - (v ? barWidth : 0)), std::max(0, full.height() - (h ? barHeight : 0)));
}

void TScrollBox::UpdateScrollBars()
{
    bool needH = false, needV = false;
    const QSize client = ClientSize(&needH, &needV);
    setVerticalScrollBarPolicy(needV ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(needH ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    FContent->resize(std::max(FHorz.Range(), client.width()), std::max(FVert.Range(), client.height()));
    // Set the bars' ranges now: Qt would only do it when the content's resize event arrives,
    // which waits while the box is hidden.
    horizontalScrollBar()->setRange(0, FHorz.MaxPosition());
    horizontalScrollBar()->setPageStep(std::max(1, client.width()));
    verticalScrollBar()->setRange(0, FVert.MaxPosition());
    verticalScrollBar()->setPageStep(std::max(1, client.height()));
}

void TScrollBox::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    GuardEvent([&] { UpdateScrollBars(); });
}

// ---- TCustomPanel -------------------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* AOwner, QWidget* parent) : QWidget(parent), TWinControl(AOwner)
{
    InitWidget();
    UpdateMargins();
}

TCustomPanel::~TCustomPanel()
{
    DestroyComponent();
}

int TCustomPanel::FrameWidth() const
{
    return (FBorderStyle != bsNone ? 1 : 0) + (FBevelOuter != bvNone ? 1 : 0) + FBorderWidth + (FBevelInner != bvNone ? 1 : 0);
}

void TCustomPanel::UpdateMargins()
{
    const int b = FrameWidth();
    setContentsMargins(b, b, b, b);
    update();
}

void TCustomPanel::SetBevelInner(TBevelCut value) { FBevelInner = value; UpdateMargins(); }
void TCustomPanel::SetBevelOuter(TBevelCut value) { FBevelOuter = value; UpdateMargins(); }
void TCustomPanel::SetBorderStyle(TBorderStyle value) { FBorderStyle = value == bsNone ? bsNone : bsSingle; UpdateMargins(); }
void TCustomPanel::SetCaption(const QString& value) { FCaption = value; update(); }

void TCustomPanel::SetBorderWidth(int value)
{
    if (value < 0)
        throw EComponentError(QStringLiteral("BorderWidth %1 is negative; expected 0 or more pixels").arg(value));
    FBorderWidth = value;
    UpdateMargins();
}

TCanvas* TCustomPanel::Canvas()
{
    if (!FPaintCanvas)
        throw EInvalidOperation(QStringLiteral("Canvas does not allow drawing"));
    return FPaintCanvas;
}

void TCustomPanel::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect({0, 0, ClientWidth(), ClientHeight()});
    if (!FCaption.isEmpty()) {
        TRect r{0, 0, ClientWidth(), ClientHeight()};
        canvas->Brush()->SetStyle(bsClear);
        DrawText(canvas->Handle(), FCaption, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void TCustomPanel::paintEvent(QPaintEvent*)
{
    GuardEvent([&] {
        QPainter painter(this);
        int inset = 0;
        const auto frame = [&](QColor topLeft, QColor bottomRight) {
            const QRect r = rect().adjusted(inset, inset, -inset - 1, -inset - 1);
            painter.setPen(topLeft);
            painter.drawLine(r.topLeft(), r.topRight());
            painter.drawLine(r.topLeft(), r.bottomLeft());
            painter.setPen(bottomRight);
            painter.drawLine(r.bottomLeft(), r.bottomRight());
            painter.drawLine(r.topRight(), r.bottomRight());
            ++inset;
        };
        if (FBorderStyle != bsNone)
            frame(Qt::black, Qt::black);
        const auto bevelFrame = [&](TBevelCut bevel) {
            if (bevel != bvNone)
                frame(bevel == bvRaised ? Qt::white : Qt::gray, bevel == bvRaised ? Qt::gray : Qt::white);
        };
        bevelFrame(FBevelOuter);
        if (FBorderWidth > 0) { // the panel's colour between the bevels
            const QRect r = rect().adjusted(inset, inset, -inset, -inset);
            painter.fillRect(r, ToQColor(Color()));
            inset += FBorderWidth;
        }
        bevelFrame(FBevelInner);
        painter.translate(inset, inset);
        painter.setClipRect(QRect(0, 0, ClientWidth(), ClientHeight()));
        TDeviceContext dc(&painter, Screen().PixelsPerInch(), Screen().PixelsPerInch());
        TCanvas canvas;
        canvas.SetHandle(&dc);
        FPaintCanvas = &canvas;
        struct Reset { TCanvas*& c; ~Reset() { c = nullptr; } } reset{FPaintCanvas};
        Paint();
    });
}

} // namespace Vellaro
