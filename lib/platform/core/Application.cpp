#include "platform/core/Application.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <cstdio>

namespace Vellaro {

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
