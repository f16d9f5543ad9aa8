#include "preview/VLLabel.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentRegistry.h"

namespace Vellaro {

VELLARO_REGISTER_CLASS(TPreviewLabel)

TCustomPreviewLabel::TCustomPreviewLabel(TComponent* AOwner, QWidget* parent) : TCustomLabel(AOwner, parent)
{
    SetShowAccelChar(false);
    SetCaption(QStringLiteral("not linked"));
}

TCustomPreviewLabel::~TCustomPreviewLabel()
{
    DestroyComponent();
    FPreviewLink.Detach();
}

void TCustomPreviewLabel::SetPreview(TCustomPreview* Value)
{
    if (!FPreviewLink.Set(Value))
        return;
    Update();
}

void TCustomPreviewLabel::SetMode(TMode Value)
{
    if (Value == FMode)
        return;
    FMode = Value;
    Update();
}

void TCustomPreviewLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomLabel::Notification(AComponent, Operation);
    FPreviewLink.ForgetRemoved(AComponent, Operation, [this] { SetPreview(nullptr); });
}

void TCustomPreviewLabel::Update()
{
    if (!Preview())
        SetCaption(QStringLiteral("not linked"));
    else
        SetCaption(FMode == lmPage ? Preview()->GetPageText() : Preview()->GetScaleText());
    TCustomLabel::Update();
    if (FOnUpdate)
        FOnUpdate(this);
}

void RegisterVLLabel()
{
    RegisterComponents(QStringLiteral("Vellaro"), {QStringLiteral("TPreviewLabel")});
}

} // namespace Vellaro
