#pragma once
// Windowed controls as the preview parts expect them: a component that is also a QWidget, with
// bounds, client size, alignment in its parent, colour, cursor and the 3-D look flags; a scroll
// box whose scroll bars have Range/Position/Increment/Tracking; and a panel with bevels.

#include "platform/controls/Control.h"
#include "platform/graphics/Canvas.h"

#include <QObject>
#include <QScrollArea>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QScrollBar;

namespace Vellaro {

class TPopupMenu;

namespace ControlsTypes {
Q_NAMESPACE_EXPORT(VELLARO_EXPORT)
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
Q_ENUM_NS(TAlign)
/// Border styles of controls (bsNone, bsSingle) and of forms (all six).
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
Q_ENUM_NS(TFormBorderStyle)
enum TBevelCut { bvNone, bvLowered, bvRaised };
Q_ENUM_NS(TBevelCut)
} // namespace ControlsTypes
using namespace ControlsTypes;
using TBorderStyle = TFormBorderStyle;

/// Cursor identifiers; the negative ones are the stock cursors.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crHandPoint = -21;
/// The Qt cursor shape of a stock cursor.
VELLARO_EXPORT Qt::CursorShape CursorShape(TCursor cursor);

// Virtual key codes the controls react to.
constexpr int VK_BACK = 8;
constexpr int VK_RETURN = 13;
constexpr int VK_CONTROL = 17;
constexpr int VK_ESCAPE = 27;
constexpr int VK_PRIOR = 33;
constexpr int VK_NEXT = 34;
constexpr int VK_END = 35;
constexpr int VK_HOME = 36;
constexpr int VK_LEFT = 37;
constexpr int VK_UP = 38;
constexpr int VK_RIGHT = 39;
constexpr int VK_DOWN = 40;
/// The virtual key of a Qt key code (0 when it has none here).
VELLARO_EXPORT int VirtualKey(int qtKey);

constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
/// System measures: the width of a vertical and the height of a horizontal scroll bar.
VELLARO_EXPORT int GetSystemMetrics(int index);

/// A key pressed or released: Key is a virtual key code; setting it to 0 stops its handling.
using TKeyEvent = std::function<void(TComponent* Sender, int& Key, Qt::KeyboardModifiers Shift)>;
/// A character typed: setting Key to the null character swallows it.
using TKeyPressEvent = std::function<void(TComponent* Sender, QChar& Key)>;

/// A control with a window: a component mixed into a QWidget subclass, which returns itself
/// from Widget(). Coordinates are relative to the parent's client area.
class VELLARO_EXPORT TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    /// The widget this control is.
    virtual QWidget* Widget() = 0;
    const QWidget* Widget() const { return const_cast<TWinControl*>(this)->Widget(); }
    /// The widget that children given this control as parent are placed in.
    virtual QWidget* ClientWidget() { return Widget(); }

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int value) { SetBounds(value, Top(), Width(), Height()); }
    void SetTop(int value) { SetBounds(Left(), value, Width(), Height()); }
    void SetWidth(int value) { SetBounds(Left(), Top(), value, Height()); }
    void SetHeight(int value) { SetBounds(Left(), Top(), Width(), value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    /// The size inside the border (and, for a scroll box, inside the shown scroll bars).
    virtual int ClientWidth() const;
    virtual int ClientHeight() const;
    void SetClientWidth(int value) { SetWidth(value + Width() - ClientWidth()); }
    void SetClientHeight(int value) { SetHeight(value + Height() - ClientHeight()); }

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);
    /// Places the control in another control's client area (nullptr takes it out).
    void SetParent(TWinControl* parent);
    /// Places the control in any widget.
    void SetParentWidget(QWidget* parent);
    QWidget* Parent() const;
    /// The nearest widget up the parent chain that is a component (form files nest in it).
    TComponent* GetParentComponent() const override;
    /// A form file nests this control in Parent: a windowed control becomes its parent.
    void SetParentComponent(TComponent* Parent) override;

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const;
    void SetEnabled(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    /// True while the control takes its parent's colour.
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    QString Hint() const;
    void SetHint(const QString& value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value) { FParentShowHint = value; }
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value) { FCtl3D = value; FParentCtl3D = false; }
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    bool TabStop() const;
    void SetTabStop(bool value);
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int value) { FTabOrder = value; }
    QFont Font() const;
    void SetFont(const QFont& value);
    bool ParentFont() const;
    void SetParentFont(bool value);
    void SetFocus();
    bool Focused() const;
    /// The menu that opens on the control's context-menu request; not owned, forgotten when
    /// it goes away.
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* value);
    /// Paints the control at once.
    virtual void Repaint();
    /// Repaints the control now, with whatever else of its window waits to be painted.
    void Update() override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    /// Called once the widget exists: subclasses call it at the end of their constructor.
    void InitWidget();
    /// Takes Ctl3D and the hint display from the parent where the Parent... flags say so.
    void FollowParent();

private:
    TAlign FAlign = alNone;
    bool FVisible = true;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
    bool FShowHint = false;
    bool FParentShowHint = true;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
    TCursor FCursor = crDefault;
    int FTabOrder = -1;
    TPopupMenu* FPopupMenu = nullptr;
    /// The context-menu requests of the widget and of its text field (an editable combo box's).
    std::vector<QMetaObject::Connection> FPopupConnections;
};

/// The nearest widget above widget that is a component, or nullptr.
VELLARO_EXPORT TComponent* ParentComponentOf(const QWidget* widget);

/// Lays out the aligned controls of parent: top, bottom, left and right ones along its edges
/// in the order they were aligned, the client one in what is left.
VELLARO_EXPORT void AlignControls(QWidget* parent);

class TScrollBox;

/// One scroll bar of a scroll box. Range is the extent of the scrolled content; the position
/// runs from 0 to Range minus the client size and is clamped to it; the bar shows only when
/// Range exceeds the client size.
class VELLARO_EXPORT TControlScrollBar {
public:
    TControlScrollBar(TScrollBox* box, Qt::Orientation orientation) : FBox(box), FOrientation(orientation) {}
    int Range() const { return FRange; }
    void SetRange(int value);
    int Position() const;
    void SetPosition(int value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int value);
    bool Tracking() const;
    void SetTracking(bool value);
    bool IsScrollBarVisible() const;
    /// The largest position: Range minus the client size, at least 0.
    int MaxPosition() const;

private:
    QScrollBar* Bar() const;
    TScrollBox* FBox;
    Qt::Orientation FOrientation;
    int FRange = 0;
    int FIncrement = 8;
};

/// A scrolling container: children are placed on a content area that the two scroll bars move.
class VELLARO_EXPORT TScrollBox : public QScrollArea, public TWinControl {
    Q_OBJECT
public:
    explicit TScrollBox(TComponent* AOwner, QWidget* parent = nullptr);
    ~TScrollBox() override;
    QWidget* Widget() override { return this; }
    QWidget* ClientWidget() override { return FContent; }
    TControlScrollBar* HorzScrollBar() { return &FHorz; }
    TControlScrollBar* VertScrollBar() { return &FVert; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    int ClientWidth() const override { return ClientSize().width(); }
    int ClientHeight() const override { return ClientSize().height(); }
    /// Recomputes which scroll bars show and the content size from the ranges and the box size.
    void UpdateScrollBars();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    /// The area inside the border less the scroll bars the ranges call for.
    QSize ClientSize(bool* needH = nullptr, bool* needV = nullptr) const;
    QWidget* FContent;
    TControlScrollBar FHorz;
    TControlScrollBar FVert;
    TBorderStyle FBorderStyle = bsSingle;
};

/// A panel: fills its client area with its colour and draws its border and bevels around it.
/// Descendants draw on Canvas() in Paint; the canvas's origin is the client area's top left.
class VELLARO_EXPORT TCustomPanel : public QWidget, public TWinControl {
    Q_OBJECT
public:
    explicit TCustomPanel(TComponent* AOwner, QWidget* parent = nullptr);
    ~TCustomPanel() override;
    QWidget* Widget() override { return this; }
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    /// The space in pixels between the outer and the inner bevel.
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    /// The canvas of the paint in progress; raises EInvalidOperation outside a paint.
    TCanvas* Canvas();

protected:
    /// Draws the client area; the base fills it with Color and draws the caption.
    virtual void Paint();
    void paintEvent(QPaintEvent* event) override;

private:
    void UpdateMargins();
    int FrameWidth() const;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    TBorderStyle FBorderStyle = bsNone;
    QString FCaption;
    int FBorderWidth = 0;
    TCanvas* FPaintCanvas = nullptr;
};

} // namespace Vellaro

Q_DECLARE_METATYPE(Vellaro::TKeyEvent)
Q_DECLARE_METATYPE(Vellaro::TKeyPressEvent)
