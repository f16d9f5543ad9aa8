// Feeds arbitrary bytes to the RTF reader: it must read them or refuse them with ERtfError,
// never crash, hang or run out of memory. The writer then writes what was read, and the
// reader must read that back.
#include "FuzzInputs.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

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
    const QString broken = Vellaro::Fuzz::ReadRtfInput(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(broken));
        std::abort();
    }
    return 0;
}
