#pragma once
// A shown preview pane of 400 x 300 pixels with a five-page job on the recording printer,
// for the tests of the pane's companions.

#include "TestSupport.h"
#include "preview/VLPreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <memory>

namespace Vellaro::Testing {

class PreviewFixture : public RecordingPrinterTest {
protected:
    void SetUp() override
    {
        RecordingPrinterTest::SetUp();
        Job = std::make_unique<TPrintJob>();
        Job->SetPageCount(5);
        Pane = std::make_unique<TPreview>();
        Pane->resize(400, 300);
        Pane->show();
        QApplication::processEvents();
        Pane->SetPrintJob(Job.get());
    }
    void TearDown() override
    {
        Pane.reset();
        Job.reset();
        RecordingPrinterTest::TearDown();
    }
    /// Sends a key press (with its text) to a widget.
    static void Press(QWidget* target, int qtKey, const QString& text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, qtKey, modifiers, text);
        QApplication::sendEvent(target, &event);
    }

    std::unique_ptr<TPrintJob> Job;
    std::unique_ptr<TPreview> Pane;
};

} // namespace Vellaro::Testing
