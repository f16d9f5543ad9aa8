#include "platform/controls/Buttons.h"

#include "platform/core/Application.h"
#include "platform/core/ClassRegistry.h"

namespace Vellaro {

VELLARO_REGISTER_CLASS(TButton)

TButton::TButton(TComponent* AOwner, QWidget* parent)
    : QPushButton(parent)
    , TWinControl(AOwner)
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { GuardEvent([this] { Click(); }); });
}

TButton::~TButton()
{
    DestroyComponent();
}

void TButton::Click()
{
    if (FModalResult != mrNone)
        if (auto* form = dynamic_cast<TCustomForm*>(window()))
            form->SetModalResult(FModalResult);
    if (FOnClick)
        FOnClick(this);
}

TButton* FindDialogButton(QWidget* form, bool defaultButton)
{
    for (TButton* b : form->findChildren<TButton*>())
        if ((defaultButton ? b->Default() : b->Cancel()) && b->isEnabled() && b->isVisibleTo(form))
            return b;
    return nullptr;
}

} // namespace Vellaro
