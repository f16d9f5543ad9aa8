// Feeds arbitrary bytes to the RTF reader: it must read them or refuse them with ERtfError,
// never crash, hang or run out of memory. The writer then writes what was read, and the
// reader must read that back.
#include "platform/controls/RtfReader.h"
#include "platform/controls/RtfWriter.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>

namespace {
void EnsureApplication()
{
    // Text layout and images need a GUI application; one for the whole run.
    static QGuiApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_Rtf";
        static char* argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnsureApplication();
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument document;
    try {
        Vellaro::ReadRtf(input, &document);
    } catch (const Vellaro::ERtfError&) {
        return 0;
    }
    QTextDocument again;
    Vellaro::ReadRtf(Vellaro::WriteRtf(document), &again);
    return 0;
}
