#include "preview/VLStatusBar.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentRegistry.h"

namespace Vellaro {

VELLARO_REGISTER_CLASS(TPreviewStatusBar)
VELLARO_REGISTER_SET(TPanelKind)

TCustomPreviewStatusBar::TCustomPreviewStatusBar(TComponent* AOwner, QWidget* parent) : TStatusBarControl(AOwner, parent)
{
    SetControlStyle({csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
    SetColor(clBtnFace);
    SetHeight(19);
    SetAlign(alBottom);
    RecreateWithSizeGrip(FSizeGrip);
}

TCustomPreviewStatusBar::~TCustomPreviewStatusBar()
{
    DestroyComponent();
    FPreviewLink.Detach();
}

void TCustomPreviewStatusBar::SetPreview(TCustomPreview* Value)
{
    if (!FPreviewLink.Set(Value))
        return;
    Update();
}

void TCustomPreviewStatusBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TStatusBarControl::Notification(AComponent, Operation);
    FPreviewLink.ForgetRemoved(AComponent, Operation, [this] { SetPreview(nullptr); });
}

void TCustomPreviewStatusBar::Update()
{
    TStatusBarControl::Update();
    if (Parent() && Preview()) {
        std::vector<int> rights;
        QStringList texts;
        if (FPanels.Contains(pnPage)) {
            rights.push_back(FPagePanelWidth);
            texts << Preview()->GetPageText();
        }
        if (FPanels.Contains(pnScale)) {
            rights.push_back(FScalePanelWidth + (FPanels.Contains(pnPage) ? FPagePanelWidth : 0));
            texts << Preview()->GetScaleText();
        }
        // The user part reaches the pane's width, not the bar's.
        rights.push_back(Preview()->ClientWidth());
        // A search in the pane speaks in the hint part until it is cleared.
        const QString found = Preview()->GetFindText();
        texts << (found.isEmpty() ? FUserText : found);
        SetParts(rights);
        for (int i = 0; i < texts.size(); ++i)
            SetPartText(i, texts[i]);
    }
    if (FOnUpdate)
        FOnUpdate(this);
}

void TCustomPreviewStatusBar::SetPanels(TPanels Value)
{
    if (Value == FPanels)
        return;
    FPanels = Value;
    Update();
}

void TCustomPreviewStatusBar::SetPagePanelWidth(int Value)
{
    if (Value == FPagePanelWidth)
        return;
    FPagePanelWidth = Value;
    Update();
}

void TCustomPreviewStatusBar::SetScalePanelWidth(int Value)
{
    if (Value == FScalePanelWidth)
        return;
    FScalePanelWidth = Value;
    Update();
}

void TCustomPreviewStatusBar::SetUserText(const QString& Value)
{
    if (Value == FUserText)
        return;
    FUserText = Value;
    Update();
}

void TCustomPreviewStatusBar::SetSizeGrip(bool Value)
{
    if (Value == FSizeGrip)
        return;
    FSizeGrip = Value;
    RecreateWithSizeGrip(Value);
    Update();
}

void RegisterVLStatusBar()
{
    RegisterComponents(QStringLiteral("Vellaro"), {QStringLiteral("TPreviewStatusBar")});
}

} // namespace Vellaro
