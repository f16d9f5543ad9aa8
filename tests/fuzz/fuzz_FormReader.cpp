// Reads arbitrary text as a form file: it either reads (and then writes back) or fails with
// EReadError; it never crashes, hangs or leaks, and a failed read leaves the root empty.
#include "platform/core/DataModule.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"
#include "job/VLJob.h"

#include <QApplication>
#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace Vellaro;

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "fuzz_FormReader";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

void OfferHandlers(TComponent* root)
{
    root->RegisterMethod(QStringLiteral("AnyUpdate"), QVariant::fromValue(TNotifyEvent([](TComponent*) {})));
    root->RegisterMethod(QStringLiteral("JobDraw"),
        QVariant::fromValue(TDrawEvent([](TComponent*, TCanvas*, int, TRect, TDrawArea, TDrawTarget) {})));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    App();
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        TDataModule root;
        OfferHandlers(&root);
        try {
            ReadComponentText(text, &root);
            ComponentToText(&root);
        } catch (const EReadError&) {
            if (root.ComponentCount() != 0)
                std::abort(); // a failed read must take back what it made
        } catch (const Exception&) {
        }
    }
    try {
        std::unique_ptr<TComponent> created(ReadComponentText(text));
        ComponentToText(created.get());
    } catch (const Exception&) {
    }
    return 0;
}
