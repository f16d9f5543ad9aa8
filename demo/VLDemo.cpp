// The demo program: every print job of the library with a live preview. With a display it
// shows the splash form while the main form is built, then the main form. Without one (or with
// --headless) it prints every demonstration to a PDF file and writes a PNG of its preview.
//
//   VLDemo [--page N]            start on demonstration N (0 to 14)
//   VLDemo --headless [OUTDIR]   print to OUTDIR (default: out) and exit
#include "Headless.h"
#include "Splash.h"
#include "VLDemoUnit.h"
#include "platform/core/Translations.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <cstdio>
#include <cstring>
#include <memory>

using namespace Vellaro;

namespace {

struct TOptions {
    bool Headless = false;
    QString OutDir = QStringLiteral("out");
    int Page = 0;
};

/// Reads the options from the raw arguments: the platform must be chosen before the
/// application object exists.
TOptions ParseOptions(int argc, char** argv)
{
    TOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--headless") == 0) {
            options.Headless = true;
            if (i + 1 < argc && argv[i + 1][0] != '-')
                options.OutDir = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--page") == 0 && i + 1 < argc) {
            options.Page = std::atoi(argv[++i]);
        }
    }
    return options;
}

/// The application icon: a sheet of paper with a magnifier, drawn here.
QIcon DemoIcon()
{
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 60, 90), 2));
    p.setBrush(Qt::white);
    p.drawRect(10, 4, 36, 48);
    p.setPen(QPen(QColor(120, 140, 170), 2));
    for (int y = 14; y <= 38; y += 6)
        p.drawLine(16, y, 40, y);
    p.setPen(QPen(QColor(200, 90, 20), 5));
    p.setBrush(QColor(255, 255, 255, 160));
    p.drawEllipse(QPoint(38, 38), 12, 12);
    p.drawLine(47, 47, 58, 58);
    return QIcon(QPixmap::fromImage(image));
}

int RunHeadless(const TOptions& options)
{
    TfrmMain form;
    form.resize(1280, 800);
    form.show(); // the pane lays its page out only when shown
    for (const Demo::THeadlessOutput& output : Demo::RunHeadless(form, options.OutDir))
        std::printf("%s\n%s\n", qPrintable(output.Pdf), qPrintable(output.Png));
    return 0;
}

int RunWithWindows(const TOptions& options, QApplication& app)
{
    std::unique_ptr<TfrmMain> form;
    {
        // The splash shows while the main form is built, and goes also when that fails.
        TfrmSplash splash;
        splash.ShowForm();
        splash.repaint();
        app.processEvents();
        form = std::make_unique<TfrmMain>();
    }
    form->ShowDemo(options.Page);
    form->show();
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    TOptions options = ParseOptions(argc, argv);
    const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if ((options.Headless || noDisplay) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallTranslations(); // the library's controls in the user's language (German, French)
    Application().SetTitle(QStringLiteral("Vellaro Demo"));
    TIcon icon;
    icon.SetIcon(DemoIcon());
    Application().SetIcon(&icon);
    try {
        if (options.Headless || Demo::IsHeadlessSession())
            return RunHeadless(options);
        return RunWithWindows(options, app);
    } catch (const std::exception& error) {
        // A message box with a display, a line on stderr without one.
        Application().ShowMessage(QStringLiteral("VLDemo: %1").arg(QString::fromUtf8(error.what())));
        return 1;
    }
}
