#pragma once
// The application object: the message pump, the handler that exceptions escaping an event
// reach (they never cross Qt's event loop), ShowMessage, the title and icon, the current hint;
// and the screen's resolution.

#include "platform/core/Component.h"
#include "platform/core/Icon.h"
#include "platform/core/Types.h"

#include <QString>
#include <exception>
#include <functional>

class QWidget;

namespace Vellaro {

/// The widget property that holds a control's whole hint, "short|long" (its tool tip shows
/// the short part).
inline constexpr const char* HintProperty = "vellaroHint";

class VELLARO_EXPORT TApplication {
public:
    /// Runs the pending events of the application's event loop (when there is an application).
    void ProcessMessages();
    /// Reports an exception that escaped an event handler: a message box in a GUI session,
    /// a line on stderr in a headless one, or the handler set with SetOnException.
    void HandleException(std::exception_ptr error);
    /// Replaces the default reporting (tests, applications with a log).
    void SetOnException(std::function<void(const QString& message)> handler) { FOnException = std::move(handler); }
    /// Shows a message to the user (stderr in a headless session).
    void ShowMessage(const QString& message);
    /// True when windows can be shown to a user (not offscreen, minimal or without a display).
    bool IsGuiSession() const;

    /// The application's name as windows show it (Qt's application display name).
    QString Title() const;
    void SetTitle(const QString& value);
    /// The icon every window shows unless it has its own.
    const TIcon* Icon() const { return &FIcon; }
    void SetIcon(const TIcon* value);

    /// The hint of the control under the mouse (or, after a focus change, of the focused one):
    /// its whole text, "short|long"; empty outside controls with a hint. It follows the mouse
    /// once the events of a move are delivered.
    QString Hint() const { return FHint; }
    /// Sets the hint and runs OnHint when it changed.
    void SetHint(const QString& value);
    /// Runs when Hint changes. Sender is nullptr: the application is no component.
    TNotifyEvent OnHint() const { return FOnHint; }
    void SetOnHint(TNotifyEvent value);
    /// Starts following the mouse and the focus for hints (once; controls call it when they get
    /// a hint, SetOnHint does too).
    void TrackHints();

private:
    std::function<void(const QString&)> FOnException;
    QString FTitle;
    TIcon FIcon;
    QString FHint;
    TNotifyEvent FOnHint;
};

VELLARO_EXPORT TApplication& Application();
VELLARO_EXPORT void ShowMessage(const QString& message);
/// The part of a hint before its first '|' (all of it when there is none): what a tool tip shows.
VELLARO_EXPORT QString GetShortHint(const QString& hint);
/// The part of a hint after its first '|' (all of it when there is none): what a status bar shows.
VELLARO_EXPORT QString GetLongHint(const QString& hint);
/// The hint that applies at widget: its own, or that of the nearest widget around it (up to its
/// window) that has one.
VELLARO_EXPORT QString WidgetHint(const QWidget* widget);
/// Sounds the system's warning beep (for a key a control refuses).
VELLARO_EXPORT void MessageBeep();
/// The text of an exception, for messages.
VELLARO_EXPORT QString ExceptionMessage(std::exception_ptr error);

/// Runs an event entry point (paint, key, mouse, click) and hands any exception to the
/// application instead of letting it cross the event loop.
template<class F>
void GuardEvent(F&& handler) noexcept
{
    try {
        handler();
    } catch (...) {
        Application().HandleException(std::current_exception());
    }
}

class VELLARO_EXPORT TScreen {
public:
    /// The screen's logical resolution in dots per inch (96 without a screen).
    int PixelsPerInch() const;
    int Width() const;
    int Height() const;
};

VELLARO_EXPORT TScreen& Screen();

} // namespace Vellaro
