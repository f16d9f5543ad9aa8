#include "preview/VLLabel.h"

namespace Vellaro {

TCustomPreviewLabel::TCustomPreviewLabel(TComponent* AOwner, QWidget* parent) : TCustomLabel(AOwner, parent)
{
    SetShowAccelChar(false);
    SetCaption(QStringLiteral("not linked"));
}

TCustomPreviewLabel::~TCustomPreviewLabel()
{
    DestroyComponent();
    DetachPreview();
}

void TCustomPreviewLabel::DetachPreview()
{
    if (!FPreview)
        return;
    if (!FPreview->HasState(csDestroying)) {
        FPreview->DeleteControlNotification(this);
        RemoveFreeNotification(FPreview);
    }
    FPreview = nullptr;
}

void TCustomPreviewLabel::SetPreview(TCustomPreview* Value)
{
    if (Value == FPreview)
        return;
    DetachPreview();
    FPreview = Value;
    if (FPreview) {
        FPreview->AddControlNotification(this);
        FreeNotification(FPreview);
    }
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
    if (Operation != opRemove || AComponent != FPreview)
        return;
    if (HasState(csDestroying))
        DetachPreview();
    else
        SetPreview(nullptr);
}

void TCustomPreviewLabel::Update()
{
    if (!FPreview)
        SetCaption(QStringLiteral("not linked"));
    else
        SetCaption(FMode == lmPage ? FPreview->GetPageText() : FPreview->GetScaleText());
    TCustomLabel::Update();
    if (FOnUpdate)
        FOnUpdate(this);
}

} // namespace Vellaro
