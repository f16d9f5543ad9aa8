#include "preview/VLCombo.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentRegistry.h"

#include "platform/core/Application.h"
#include "platform/core/Translations.h"

namespace Vellaro {

VELLARO_REGISTER_CLASS(TPreviewComboBox)

namespace {
const QString NotLinked = QStringLiteral("not linked");

QString DigitsOf(const QString& text)
{
    QString digits;
    for (QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    return digits;
}
} // namespace

TCustomPreviewComboBox::TCustomPreviewComboBox(TComponent* AOwner, QWidget* parent) : TCustomComboBox(AOwner, parent)
{
    SetBounds(Left(), Top(), 125, 21);
    SetText(NotLinked);
}

TCustomPreviewComboBox::~TCustomPreviewComboBox()
{
    DestroyComponent();
    FPreviewLink.Detach();
}

void TCustomPreviewComboBox::SetPreview(TCustomPreview* Value)
{
    if (!FPreviewLink.Set(Value))
        return;
    Update();
}

void TCustomPreviewComboBox::Update()
{
    TCustomComboBox::Update();
    SetText(Preview() ? Preview()->GetScaleText() : NotLinked);
    if (FOnUpdate)
        FOnUpdate(this);
}

void TCustomPreviewComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomComboBox::Notification(AComponent, Operation);
    FPreviewLink.ForgetRemoved(AComponent, Operation, [this] { SetPreview(nullptr); });
}

QString TCustomPreviewComboBox::GetScales()
{
    QString text = QCoreApplication::translate("Vellaro", "Whole page") + QStringLiteral("\r\n")
        + QCoreApplication::translate("Vellaro", "Page width") + QStringLiteral("\r\n");
    for (int scale : ScaleArray)
        text += QStringLiteral("%1%\r\n").arg(scale);
    return text;
}

QString TCustomPreviewComboBox::CleanText() const
{
    // A typed "12.5" means twelve and a half percent, not 125: the digits after the first
    // point are a fraction, rounded to the whole percent the pane takes.
    const QString text = Text();
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const QString whole = DigitsOf(text.left(point));
    if (point < 0 || whole.isEmpty())
        return DigitsOf(text);
    const QString fraction = DigitsOf(text.mid(point + 1));
    const double value = (whole + QLatin1Char('.') + fraction + QLatin1Char('0')).toDouble();
    return QString::number(qRound64(value));
}
QString TCustomPreviewComboBox::CleanSelect() const { return DigitsOf(itemText(ItemIndex())); }

void TCustomPreviewComboBox::DropDown()
{
    SetItemsText(GetScales());
    SetDropDownCount(ItemCount());
}

void TCustomPreviewComboBox::ApplyScale(const QString& digits)
{
    Preview()->SetViewMode(vmCustom);
    bool ok = false;
    const int scale = digits.toInt(&ok);
    if (!ok) {
        ShowMessage(QCoreApplication::translate("Vellaro", "Invalid scale value"));
        return;
    }
    Preview()->SetViewScale(scale);
}

void TCustomPreviewComboBox::Click()
{
    if (!Preview())
        return;
    switch (ItemIndex()) {
    case 0: Preview()->SetViewMode(vmWholePage); break;
    case 1: Preview()->SetViewMode(vmPageWidth); break;
    default: ApplyScale(CleanSelect()); break;
    }
}

void TCustomPreviewComboBox::KeyDown(int& Key, Qt::KeyboardModifiers)
{
    if (!Preview())
        return;
    if (Key == VK_RETURN) {
        ApplyScale(CleanText());
        Preview()->SetFocus();
        // Leaving the box puts the pane's text back, also where no focus change arrives.
        Update();
        Key = 0;
    } else if (Key == VK_ESCAPE) {
        Preview()->SetFocus();
        Update();
    }
}

void TCustomPreviewComboBox::KeyPress(QChar& Key)
{
    const bool allowed = Key == QChar(VK_BACK) || Key == QLatin1Char('.') || (Key >= QLatin1Char('0') && Key <= QLatin1Char('9'));
    if (!allowed)
        Key = QChar();
}

void TCustomPreviewComboBox::DoExit()
{
    TCustomComboBox::DoExit();
    Update();
}

void RegisterVLCombo()
{
    RegisterComponents(QStringLiteral("Vellaro"), {QStringLiteral("TPreviewComboBox")});
}

} // namespace Vellaro
