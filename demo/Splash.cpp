#include "Splash.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/Reader.h"

namespace Vellaro {

VELLARO_REGISTER_CLASS(TfrmSplash)

TfrmSplash::TfrmSplash(TComponent* AOwner)
    : TForm(AOwner)
{
    ReadComponentRes(QStringLiteral(":/vellaro/demo/Splash.vfm"), this);
}

TfrmSplash::~TfrmSplash()
{
    DestroyComponent();
}

} // namespace Vellaro
