#include "platform/core/Application.h"

#include <QApplication>
#include <QGuiApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <cstdio>

namespace Vellaro {

namespace {
/// Sets the application's hint from the widget the mouse is in (or the focus moved to). Qt
/// sends a move's leaves and enters to a chain of widgets, in an order that differs between
/// platforms: the tracker keeps the innermost widget the events leave the mouse in, and sets
/// the hint once they are all delivered.
class THintTracker : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type != QEvent::Enter && type != QEvent::Leave && type != QEvent::FocusIn) || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (type == QEvent::FocusIn)
            FCurrent = widget;
        else if (type == QEvent::Enter && !(FCurrent && widget->isAncestorOf(FCurrent)))
            FCurrent = widget; // an outer widget entered after an inner one changes nothing
        else if (type == QEvent::Leave && (FCurrent == widget || widget->isAncestorOf(FCurrent)))
            FCurrent = widget->isWindow() ? nullptr : widget->parentWidget();
        if (!FSettling) {
            FSettling = true;
            QMetaObject::invokeMethod(this, [this] {
                FSettling = false;
                GuardEvent([this] { Application().SetHint(WidgetHint(FCurrent)); });
            }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QPointer<QWidget> FCurrent;
    bool FSettling = false;
};
} // namespace

void TApplication::ProcessMessages()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool TApplication::IsGuiSession() const
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

QString ExceptionMessage(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown exception");
    }
}

void TApplication::HandleException(std::exception_ptr error)
{
    const QString message = ExceptionMessage(error);
    if (FOnException) {
        FOnException(message);
        return;
    }
    ShowMessage(message);
}

void TApplication::ShowMessage(const QString& message)
{
    if (IsGuiSession()) {
        QMessageBox::warning(QApplication::activeWindow(), QCoreApplication::applicationName(), message);
        return;
    }
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

QString TApplication::Title() const
{
    if (FTitle.isEmpty() && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QGuiApplication::applicationDisplayName();
    return FTitle;
}

void TApplication::SetTitle(const QString& value)
{
    FTitle = value;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::setApplicationDisplayName(value);
}

void TApplication::SetIcon(const TIcon* value)
{
    FIcon.SetIcon(value ? value->Icon() : QIcon());
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::setWindowIcon(FIcon.Icon());
}

void TApplication::SetHint(const QString& value)
{
    if (value == FHint)
        return;
    FHint = value;
    if (FOnHint)
        FOnHint(nullptr);
}

void TApplication::SetOnHint(TNotifyEvent value)
{
    FOnHint = std::move(value);
    TrackHints();
}

void TApplication::TrackHints()
{
    // The tracker is a child of the application object, so it goes with it; a new application
    // object gets a new tracker.
    static QPointer<QObject> tracker;
    QCoreApplication* app = QCoreApplication::instance();
    if (tracker || !app)
        return;
    tracker = new THintTracker;
    tracker->setParent(app);
    app->installEventFilter(tracker);
}

QString GetShortHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.left(bar);
}

QString GetLongHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QString WidgetHint(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        const QString hint = widget->property(HintProperty).toString();
        if (!hint.isEmpty() || widget->isWindow())
            return hint;
    }
    return {};
}

void MessageBeep()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}

TApplication& Application()
{
    static TApplication application;
    return application;
}

void ShowMessage(const QString& message)
{
    Application().ShowMessage(message);
}

int TScreen::PixelsPerInch() const
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || !QGuiApplication::primaryScreen())
        return 96;
    return qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch());
}

int TScreen::Width() const
{
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? screen->geometry().width() : 0;
}

int TScreen::Height() const
{
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? screen->geometry().height() : 0;
}

TScreen& Screen()
{
    static TScreen screen;
    return screen;
}

} // namespace Vellaro
