#pragma once
// The application object: the message pump, the handler that exceptions escaping an event
// reach (they never cross Qt's event loop), ShowMessage; and the screen's resolution.

#include "platform/core/Types.h"

#include <QString>
#include <exception>
#include <functional>

namespace Vellaro {

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

private:
    std::function<void(const QString&)> FOnException;
};

VELLARO_EXPORT TApplication& Application();
VELLARO_EXPORT void ShowMessage(const QString& message);
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
