// Reads arbitrary text as a form file: it either reads (and then writes back) or fails with
// EReadError; it never crashes, hangs or leaks, and a failed read leaves the root empty.
#include "FuzzInputs.h"

#include <QApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    App();
    const QString broken = Vellaro::Fuzz::ReadFormInput(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(broken));
        std::abort();
    }
    return 0;
}
