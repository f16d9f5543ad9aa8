// Components on Qt Designer forms: the control styles a designer reads, the form widgets that
// name each other on a form, and the hosts that carry non-visual components and their
// properties.
#include "design/UiComponents.h"
#include "platform/controls/Controls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdControls.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

using namespace Vellaro;

namespace {

/// A form as uic makes one: a top-level widget named after the form.
std::unique_ptr<QWidget> MakeForm(const char* name = "DesignedForm")
{
    auto form = std::make_unique<QWidget>();
    form->setObjectName(QLatin1String(name));
    return form;
}

template<class W>
W* Place(QWidget* form, const char* name)
{
    auto* widget = new W(form);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

/// An inner control of the pane, to check its style.
class TInnerPanel : public TSpecialPanel {
public:
    TInnerPanel() : TSpecialPanel(nullptr) {}
};

} // namespace

// ---- Control styles -----------------------------------------------------------------------

TEST(ControlStyle, DesignersMayDropControlsOnlyIntoContainers)
{
    TCustomPanel panel(nullptr);
    TScrollBox box(nullptr);
    TPreview pane(nullptr);
    TInnerPanel shadow;
    TPreviewToolbar toolbar(nullptr);
    TPreviewStatusBar bar(nullptr);
    TGroupBox group(nullptr);
    TPage page(nullptr);
    TEdit edit(nullptr);
    const struct {
        const char* name;
        TControl* control;
        bool accepts;
    } cases[] = {
        {"panel", &panel, true},
        {"scroll box", &box, true},
        {"preview pane", &pane, false},
        {"pane's shadow", &shadow, false},
        {"toolbar", &toolbar, false},
        {"status bar", &bar, false},
        {"group box", &group, true},
        {"notebook page", &page, true},
        {"edit", &edit, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.control->ControlStyle().Contains(csAcceptsControls), c.accepts) << c.name;
    EXPECT_TRUE(shadow.ControlStyle().Contains(csOpaque));
    EXPECT_EQ(bar.ControlStyle(), TControlStyle({csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks}));
}

TEST(ControlStyle, PanelCaptionFollowsItsNameWhileTheyAreEqualButAToolbarsNever)
{
    TCustomPanel panel(nullptr);
    panel.SetName("Panel1");
    EXPECT_EQ(panel.Caption(), "Panel1") << "a new panel is captioned with its name";
    panel.SetName("Totals");
    EXPECT_EQ(panel.Caption(), "Totals");
    panel.SetCaption("Sum");
    panel.SetName("Other");
    EXPECT_EQ(panel.Caption(), "Sum") << "a caption of its own stays";

    TCustomPanel loading(nullptr);
    loading.BeginLoading();
    loading.SetName("Read");
    loading.EndLoading();
    EXPECT_EQ(loading.Caption(), "") << "a form file's name is not a caption";

    TPreviewToolbar toolbar(nullptr);
    toolbar.SetName("PreviewToolbar1");
    EXPECT_EQ(toolbar.Caption(), "");
    TUiPreviewToolbar designed;
    designed.setObjectName("Toolbar");
    EXPECT_EQ(designed.Name(), "Toolbar");
    EXPECT_EQ(designed.Caption(), "");
}

TEST(UiForm, ToolbarButtonsAreEditedAsText)
{
    TUiPreviewToolbar toolbar;
    const struct {
        const char* text;
        TButtons expected;
    } cases[] = {
        {"[btnPrint, btnZoomIn]", {btnPrint, btnZoomIn}},
        {"[]", {}},
        {" [ btnClose ] ", {btnClose}},
        {"[btnPrint, btnNoSuchButton]", {btnClose}}, // refused: the buttons stay
    };
    for (const auto& c : cases) {
        toolbar.setProperty("Buttons", QString::fromLatin1(c.text));
        EXPECT_EQ(toolbar.Buttons(), c.expected) << c.text;
    }
    toolbar.SetButtons({btnFirstPage, btnLastPage});
    EXPECT_EQ(toolbar.property("Buttons").toString(), "[btnFirstPage, btnLastPage]");
}

// ---- References by name -------------------------------------------------------------------

TEST(UiForm, ReferencesResolveWhicheverObjectComesFirst)
{
    for (bool jobFirst : {true, false}) {
        SCOPED_TRACE(jobFirst ? "job first" : "pane first");
        auto form = MakeForm();
        TUiPrintJob* job = jobFirst ? Place<TUiPrintJob>(form.get(), "Report") : nullptr;
        auto* toolbar = Place<TUiPreviewToolbar>(form.get(), "Toolbar");
        toolbar->setProperty("Preview", "Pane");
        auto* pane = Place<TUiPreview>(form.get(), "Pane");
        pane->setProperty("PrintJob", "Report");
        if (!job)
            job = Place<TUiPrintJob>(form.get(), "Report");
        EXPECT_EQ(pane->PrintJob(), job->Component());
        EXPECT_EQ(toolbar->Preview(), pane);
        EXPECT_EQ(pane->property("PrintJob").toString(), "Report");
    }
}

TEST(UiForm, AReferenceToAMissingOrUnfitObjectStaysUnset)
{
    auto form = MakeForm();
    auto* pane = Place<TUiPreview>(form.get(), "Pane");
    auto* toolbar = Place<TUiPreviewToolbar>(form.get(), "Toolbar");
    pane->setProperty("PrintJob", "Nowhere");
    EXPECT_EQ(pane->PrintJob(), nullptr);
    pane->setProperty("PrintJob", "Toolbar"); // a toolbar is no print job
    EXPECT_EQ(pane->PrintJob(), nullptr);
    toolbar->setProperty("Preview", "Pane");
    ASSERT_EQ(toolbar->Preview(), pane);
    toolbar->setProperty("Preview", "");
    EXPECT_EQ(toolbar->Preview(), nullptr) << "an empty name clears the reference";
}

TEST(UiForm, ObjectsOfAnotherFormAreNotFound)
{
    auto first = MakeForm("First");
    auto second = MakeForm("Second");
    auto* job = Place<TUiPrintJob>(first.get(), "Report");
    auto* pane = Place<TUiPreview>(second.get(), "Pane");
    pane->setProperty("PrintJob", "Report");
    EXPECT_EQ(pane->PrintJob(), nullptr);
    auto* own = Place<TUiPrintJob>(second.get(), "Report");
    EXPECT_EQ(pane->PrintJob(), own->Component());
    EXPECT_NE(job->Component()->Owner(), own->Component()->Owner()) << "each form owns its components";
    EXPECT_EQ(own->Component()->Owner()->Name(), "Second");
}

// ---- Hosts --------------------------------------------------------------------------------

TEST(UiHost, PropertiesSetOnTheHostReachTheComponent)
{
    auto form = MakeForm();
    auto* host = Place<TUiPrintJob>(form.get(), "Report");
    TPrintJob* job = host->Component();
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(job->Name(), "Report") << "the component is named after the host";
    const struct {
        const char* property;
        QVariant value;
        std::function<bool()> applied;
    } cases[] = {
        {"Title", QStringLiteral("Monthly"), [&] { return job->Title() == "Monthly"; }},
        {"PageCount", 3, [&] { return job->PageCount() == 3; }},
        {"Header", 12.5, [&] { return job->Header() == 12.5; }},
        {"HeaderUnits", QStringLiteral("unMillimeters"), [&] { return job->HeaderUnits() == unMillimeters; }},
        {"Options", QStringLiteral("[joMargins, joFooter]"), [&] { return job->Options() == TJobOptionsSet({joMargins, joFooter}); }},
    };
    for (const auto& c : cases) {
        host->setProperty(c.property, c.value);
        EXPECT_TRUE(c.applied()) << c.property;
    }
    // Values the component refuses leave it as it was.
    host->setProperty("Options", QStringLiteral("[joNoSuchOption]"));
    EXPECT_EQ(job->Options(), TJobOptionsSet({joMargins, joFooter}));
    host->setProperty("HeaderUnits", QStringLiteral("unFurlongs"));
    EXPECT_EQ(job->HeaderUnits(), unMillimeters);
}

TEST(UiHost, ShownWhileDesignedHiddenAtRunTime)
{
    auto form = MakeForm();
    auto* runTime = Place<TUiMultiPrintJob>(form.get(), "Book");
    auto* designed = Place<TUiMultiPrintJob>(form.get(), "Draft");
    designed->SetDesignTime(true);
    form->show();
    EXPECT_FALSE(runTime->isVisible());
    EXPECT_TRUE(designed->isVisible());
    EXPECT_TRUE(designed->Component()->HasState(csDesigning));
    EXPECT_FALSE(runTime->Component()->HasState(csDesigning));
    EXPECT_GE(designed->width(), 24);
}

TEST(UiHost, MultiJobListsTheNamedJobsOfItsForm)
{
    auto form = MakeForm();
    auto* book = Place<TUiMultiPrintJob>(form.get(), "Book");
    book->setProperty("PrintJobs", QStringList{"Cover", "Report"});
    EXPECT_EQ(book->Component()->GetPrintJobCount(), 0) << "not there yet";
    auto* cover = Place<TUiPrintJob>(form.get(), "Cover");
    EXPECT_EQ(book->Component()->GetPrintJobCount(), 0) << "a list resolves when every job is there";
    auto* report = Place<TUiPrintJob>(form.get(), "Report");
    report->setProperty("PageCount", 3);
    ASSERT_EQ(book->Component()->GetPrintJobCount(), 2);
    EXPECT_EQ(book->Component()->GetPrintJob(0), cover->Component());
    EXPECT_EQ(book->Component()->PageCount(), 4);

    // What an editor changes on the component is copied back to the host for the designer.
    book->SetDesignTime(true);
    book->Component()->Delete(0);
    EXPECT_TRUE(book->SyncFromComponent().contains("PrintJobs"));
    EXPECT_EQ(book->property("PrintJobs").toStringList(), QStringList{"Report"});
    EXPECT_TRUE(book->SyncFromComponent().isEmpty()) << "nothing changed since";
}

TEST(UiHost, DesignPropertiesAreTheComponentsEditableOnes)
{
    auto form = MakeForm();
    auto* draft = Place<TUiDraftPrintJob>(form.get(), "Sheets");
    auto* job = Place<TUiPrintJob>(form.get(), "Report");
    draft->setProperty("PrintJob", "Report");
    ASSERT_EQ(draft->Component()->PrintJob(), job->Component());
    draft->SetDesignTime(true);
    const QList<QByteArray> names = draft->DesignProperties();
    EXPECT_EQ(names, QList<QByteArray>({"PrintJob", "Scale", "Separators", "Title"}))
        << "no name, tag or events; in streaming order";
    EXPECT_EQ(draft->property("PrintJob").toString(), "Report");
    EXPECT_EQ(draft->property("Scale").toInt(), draft->Component()->Scale());

    auto* report = job->Component();
    job->SetDesignTime(true);
    EXPECT_EQ(job->property("HeaderUnits").toString(), "unPixels") << "enumerations by name";
    EXPECT_EQ(job->property("Options").toString(), "[]") << "sets as a form file writes them";
    EXPECT_FALSE(job->DesignProperties().contains("Margins")) << "nested objects are set in code";
    (void)report;
}

// ---- Lifetimes ----------------------------------------------------------------------------

TEST(UiHost, JobHostGoingAwayLeavesThePaneWithoutJob)
{
    auto form = MakeForm();
    auto* pane = Place<TUiPreview>(form.get(), "Pane");
    auto* job = Place<TUiPrintJob>(form.get(), "Report");
    pane->setProperty("PrintJob", "Report");
    ASSERT_NE(pane->PrintJob(), nullptr);
    delete job;
    EXPECT_EQ(pane->PrintJob(), nullptr);
}

TEST(UiHost, FormsGoAwayWhateverTheOrderOfTheirChildren)
{
    // The form's owner of components is made with the first host; later hosts are younger
    // children of the form, earlier widgets older ones. Run under the sanitizer build.
    for (int order = 0; order < 3; ++order) {
        auto form = MakeForm();
        if (order == 0)
            Place<TUiPreview>(form.get(), "Pane")->setProperty("PrintJob", "Book");
        auto* book = Place<TUiMultiPrintJob>(form.get(), "Book");
        auto* inner = new QWidget(form.get());
        Place<TUiPrintJob>(inner, "Report");
        book->setProperty("PrintJobs", QStringList{"Report"});
        if (order == 1)
            Place<TUiPreview>(form.get(), "Pane")->setProperty("PrintJob", "Book");
        if (order == 2)
            delete inner;
        EXPECT_EQ(book->Component()->GetPrintJobCount(), order == 2 ? 0 : 1);
    }
}
