#pragma once
// An up-down control: a pair of arrow buttons that step a position between Min and Max and
// show it in an associated edit.

#include "platform/controls/Controls.h"
#include "platform/controls/StdControls.h"

#include <QWidget>
#include <functional>

class QToolButton;

namespace Vellaro {

namespace ComCtrlsTypes {
Q_NAMESPACE_EXPORT(VELLARO_EXPORT)
/// The arrow that was pressed: btNext steps towards Max, btPrev towards Min.
enum TUDBtnType { btNext, btPrev };
Q_ENUM_NS(TUDBtnType)
enum TUDOrientation { udHorizontal, udVertical };
Q_ENUM_NS(TUDOrientation)
} // namespace ComCtrlsTypes
using namespace ComCtrlsTypes;

/// Runs after an arrow was pressed (the position has changed unless it was at its limit).
using TUDClickEvent = std::function<void(TComponent* Sender, TUDBtnType Button)>;
/// Runs before an arrow changes the position; setting AllowChange to false keeps it.
using TUDChangingEvent = std::function<void(TComponent* Sender, bool& AllowChange)>;

/// Two arrows that step Position by Increment, kept within Min..Max (whichever order they are
/// given in). The associated edit shows Position; a number typed into it is where the next
/// step starts, and with ArrowKeys the edit's Up and Down keys step too. The edit is not
/// owned and is forgotten when it goes. While a form file is read, Position is kept as read
/// and brought into the range once Min and Max are known.
class VELLARO_EXPORT TUpDown : public QWidget, public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(Vellaro::TCustomEdit* Associate READ Associate WRITE SetAssociate)
    Q_PROPERTY(bool ArrowKeys READ ArrowKeys WRITE SetArrowKeys)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(Vellaro::ComCtrlsTypes::TUDOrientation Orientation READ Orientation WRITE SetOrientation)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(Vellaro::TUDChangingEvent OnChanging READ OnChanging WRITE SetOnChanging)
    Q_PROPERTY(Vellaro::TUDClickEvent OnClick READ OnClick WRITE SetOnClick)
public:
    explicit TUpDown(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TUpDown() override;
    QWidget* Widget() override { return this; }

    TCustomEdit* Associate() const { return FAssociate; }
    /// Shows Position in Value from now on (nullptr: in no edit).
    void SetAssociate(TCustomEdit* Value);
    bool ArrowKeys() const { return FArrowKeys; }
    void SetArrowKeys(bool value) { FArrowKeys = value; }
    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Increment() const { return FIncrement; }
    /// Raises EComponentError for an increment below 1.
    void SetIncrement(int value);
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation value);
    int Position() const { return FPosition; }
    /// Takes value brought into Min..Max and shows it in the associated edit.
    void SetPosition(int value);

    TUDChangingEvent OnChanging() const { return FOnChanging; }
    void SetOnChanging(TUDChangingEvent value) { FOnChanging = std::move(value); }
    TUDClickEvent OnClick() const { return FOnClick; }
    void SetOnClick(TUDClickEvent value) { FOnClick = std::move(value); }

    /// Presses an arrow as the user does: steps from the number in the edit (or Position),
    /// asks OnChanging, moves, then runs OnClick.
    void Click(TUDBtnType Button);
    /// The arrow button of that kind (for tests and styling).
    QToolButton* Button(TUDBtnType Button) const { return Button == btNext ? FNext : FPrev; }

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int Clamped(int value) const;
    void ShowPosition();
    void PlaceButtons();
    /// The step an arrow key makes in this orientation, or none.
    bool StepForKey(int key);

    TCustomEdit* FAssociate = nullptr;
    QToolButton* FNext;
    QToolButton* FPrev;
    bool FArrowKeys = true;
    int FMin = 0;
    int FMax = 100;
    int FIncrement = 1;
    int FPosition = 0;
    TUDOrientation FOrientation = udVertical;
    TUDChangingEvent FOnChanging;
    TUDClickEvent FOnClick;
};

} // namespace Vellaro

Q_DECLARE_METATYPE(Vellaro::TUDClickEvent)
Q_DECLARE_METATYPE(Vellaro::TUDChangingEvent)
