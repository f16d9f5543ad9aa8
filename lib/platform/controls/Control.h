#pragma once
// TControl: a component that shows something and can be told to refresh itself. The print
// job's control subscribers are TControls; preview widgets override Update to lay out and repaint.

#include "platform/core/Component.h"

namespace Vellaro {

class VELLARO_EXPORT TControl : public TComponent {
public:
    using TComponent::TComponent;
    /// Recomputes and repaints the control. The base does nothing.
    virtual void Update() {}
};

} // namespace Vellaro
