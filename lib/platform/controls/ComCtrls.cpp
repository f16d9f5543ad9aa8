#include "platform/controls/ComCtrls.h"

#include "platform/core/Application.h"
#include "platform/core/ClassRegistry.h"

#include <QKeyEvent>
#include <QToolButton>
#include <algorithm>
#include <limits>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TUpDown)

TUpDown::TUpDown(TComponent* AOwner, QWidget* parent)
    : QWidget(parent), TWinControl(AOwner), FNext(new QToolButton(this)), FPrev(new QToolButton(this))
{
    for (const auto& [button, buttonKind] : {std::pair{FNext, btNext}, std::pair{FPrev, btPrev}}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        const TUDBtnType kind = buttonKind; // clang 14 cannot capture a structured binding
        connect(button, &QToolButton::clicked, this, [this, kind] { GuardEvent([&] { Click(kind); }); });
    }
    setFocusPolicy(Qt::NoFocus);
    resize(17, 25);
    SetOrientation(udVertical);
}

TUpDown::~TUpDown()
{
    DestroyComponent();
}

int TUpDown::Clamped(int value) const
{
    return std::clamp(value, std::min(FMin, FMax), std::max(FMin, FMax));
}

void TUpDown::SetAssociate(TCustomEdit* Value)
{
    if (Value == FAssociate)
        return;
    if (FAssociate) {
        FAssociate->removeEventFilter(this);
        RemoveFreeNotification(FAssociate);
    }
    FAssociate = Value;
    if (FAssociate) {
        FreeNotification(FAssociate);
        FAssociate->installEventFilter(this);
        ShowPosition();
    }
}

void TUpDown::SetMin(int value)
{
    FMin = value;
    if (!HasState(csLoading))
        SetPosition(FPosition);
}

void TUpDown::SetMax(int value)
{
    FMax = value;
    if (!HasState(csLoading))
        SetPosition(FPosition);
}

void TUpDown::SetIncrement(int value)
{
    if (value < 1)
        throw EComponentError(QStringLiteral("Increment %1 of %2 is below 1; expected a step of 1 or more").arg(value).arg(Name()));
    FIncrement = value;
}

void TUpDown::SetOrientation(TUDOrientation value)
{
    FOrientation = value;
    FNext->setArrowType(value == udVertical ? Qt::UpArrow : Qt::RightArrow);
    FPrev->setArrowType(value == udVertical ? Qt::DownArrow : Qt::LeftArrow);
    PlaceButtons();
}

void TUpDown::SetPosition(int value)
{
    FPosition = HasState(csLoading) ? value : Clamped(value);
    ShowPosition();
}

void TUpDown::ShowPosition()
{
    if (FAssociate)
        FAssociate->SetText(QString::number(FPosition));
}

void TUpDown::Loaded()
{
    TWinControl::Loaded();
    SetPosition(FPosition);
}

void TUpDown::Click(TUDBtnType Button)
{
    // A number the user typed into the edit is where the step starts.
    if (FAssociate) {
        bool ok = false;
        const int typed = FAssociate->Text().trimmed().toInt(&ok);
        if (ok)
            FPosition = Clamped(typed);
    }
    const qint64 step = Button == btNext ? FIncrement : -qint64(FIncrement);
    const int next = Clamped(int(std::clamp<qint64>(FPosition + step, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
    if (next != FPosition) {
        bool allow = true;
        if (FOnChanging)
            FOnChanging(this, allow);
        if (allow)
            FPosition = next;
    }
    ShowPosition();
    if (FOnClick)
        FOnClick(this, Button);
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FAssociate)
        FAssociate = nullptr;
}

bool TUpDown::StepForKey(int key)
{
    const bool vertical = FOrientation == udVertical;
    if (key == (vertical ? Qt::Key_Up : Qt::Key_Right))
        Click(btNext);
    else if (key == (vertical ? Qt::Key_Down : Qt::Key_Left))
        Click(btPrev);
    else
        return false;
    return true;
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != FAssociate || event->type() != QEvent::KeyPress || !FArrowKeys || !isEnabled())
        return false;
    bool stepped = false;
    GuardEvent([&] { stepped = StepForKey(static_cast<QKeyEvent*>(event)->key()); });
    return stepped;
}

void TUpDown::keyPressEvent(QKeyEvent* event)
{
    bool stepped = false;
    GuardEvent([&] { stepped = StepForKey(event->key()); });
    if (!stepped)
        QWidget::keyPressEvent(event);
}

void TUpDown::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceButtons();
}

void TUpDown::PlaceButtons()
{
    // Vertical: the next arrow on top; horizontal: the previous arrow on the left.
    const int w = width(), h = height();
    if (FOrientation == udVertical) {
        FNext->setGeometry(0, 0, w, h / 2);
        FPrev->setGeometry(0, h / 2, w, h - h / 2);
    } else {
        FPrev->setGeometry(0, 0, w / 2, h);
        FNext->setGeometry(w / 2, 0, w - w / 2, h);
    }
}

} // namespace Vellaro
