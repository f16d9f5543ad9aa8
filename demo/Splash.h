#pragma once
// The splash form shown while the demo's main form is built: a borderless panel with the
// application icon, the product name and a notice line. Its layout is the form file Splash.vfm.

#include "platform/controls/Forms.h"

namespace Vellaro {

class TfrmSplash : public TForm {
    Q_OBJECT
public:
    /// Builds the form from its form file and copies the application icon into its image.
    explicit TfrmSplash(TComponent* AOwner = nullptr);
    ~TfrmSplash() override;
};

} // namespace Vellaro
