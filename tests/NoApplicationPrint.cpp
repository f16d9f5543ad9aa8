// Prints a job in a process that never created a QApplication: the print must fail with an
// exception saying so (exit 3), not kill the process inside Qt.
#include "job/VLJob.h"

#include <cstdio>

int main()
{
    using namespace Vellaro;
    try {
        TPrintJob job;
        job.Print();
    } catch (const Exception& e) {
        std::printf("%s\n", e.Message().toLocal8Bit().constData());
        return 3;
    }
    std::printf("printed without an application\n");
    return 0;
}
