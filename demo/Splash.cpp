#include "Splash.h"

#include "platform/controls/ExtCtrls.h"
#include "platform/core/Application.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Reader.h"

namespace Vellaro {

VELLARO_REGISTER_CLASS(TfrmSplash)

TfrmSplash::TfrmSplash(TComponent* AOwner)
    : TForm(AOwner)
{
    ReadComponentRes(QStringLiteral(":/vellaro/demo/Splash.vfm"), this);
    auto* image = dynamic_cast<TImage*>(FindComponent(QStringLiteral("imgIcon")));
    if (!image)
        throw EFilerError(QStringLiteral("The splash form's form file has no image imgIcon"));
    image->Picture()->Assign(*Application().Icon());
}

TfrmSplash::~TfrmSplash()
{
    DestroyComponent();
}

} // namespace Vellaro
