#pragma once
// TControl: a component that shows something and can be told to refresh itself. The print
// job's control subscribers are TControls; preview widgets override Update to lay out and repaint.

#include "platform/core/Component.h"

namespace Vellaro {

/// Flags of TControl::ControlStyle: what a control is and what a form designer may do with it.
enum TControlStyleFlag {
    csAcceptsControls, ///< other controls can be dropped into it at design time
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,      ///< renaming the control renames its caption while the two are equal
    csOpaque,          ///< paints its whole client area
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents,
};
using TControlStyle = TSet<TControlStyleFlag>;

class VELLARO_EXPORT TControl : public TComponent {
public:
    using TComponent::TComponent;
    /// Recomputes and repaints the control. The base does nothing.
    virtual void Update() {}

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }

private:
    TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
};

} // namespace Vellaro
