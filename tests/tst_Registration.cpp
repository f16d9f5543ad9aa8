// Design-time registration: the palette pages and their classes, the palette bitmaps, and the
// component editors a form designer finds for a component.
#include "design/PrintJobs.h"
#include "design/Vellaro.h"
#include "multijobs/PJMulti.h"
#include "multijobs/PJMultiEditor.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/DataModule.h"

#include "TestSupport.h"

#include <QApplication>
#include <QTimer>
#include <functional>
#include <set>

using namespace Vellaro;
using Vellaro::Testing::RecordingPrinterTest;

namespace {

const QStringList VellaroPage = {"TPrintJob", "TPreview", "TPreviewWindow", "TPreviewToolbar",
    "TPreviewStatusBar", "TPreviewComboBox", "TPreviewLabel"};
const QStringList PrintJobsPage = {"TSimpleGridPrintJob", "TSimpleTextGridPrintJob", "TStringGridPrintJob",
    "TDBGridPrintJob", "TListViewPrintJob", "TStringsPrintJob", "TRichEditPrintJob", "TMultiPrintJob",
    "TDraftPrintJob"};

void RegisterAll()
{
    RegisterVellaro();
    RegisterPrintJobs();
}

/// Counts what the editors report to the designer.
struct CountingDesigner : TFormDesigner {
    int ModifiedCount = 0;
    void Modified() override { ++ModifiedCount; }
};

/// Runs action on the shown job list editor once the modal loop runs.
void WhenEditorShown(std::function<void(TfrmMultiEditor*)> action)
{
    QTimer::singleShot(0, [action] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* form = dynamic_cast<TfrmMultiEditor*>(w); form && form->isVisible()) {
                action(form);
                return;
            }
        ADD_FAILURE() << "no dialog shown";
    });
}

void Click(TComponent* form, const char* button)
{
    dynamic_cast<TButton*>(form->FindComponent(QLatin1String(button)))->click();
}

} // namespace

/// A multi job class of an application, unknown to the library.
class TAppMultiJob : public TMultiPrintJob {
    Q_OBJECT
public:
    using TMultiPrintJob::TMultiPrintJob;
};

/// A job class with an editor of its own, derived from one without.
class TJobWithEditor : public TPrintJob {
    Q_OBJECT
public:
    using TPrintJob::TPrintJob;
};

class TTwoVerbEditor : public TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;
    int GetVerbCount() const override { return 2; }
    QString GetVerb(int Index) const override { return QStringLiteral("Verb %1").arg(Index); }
    void ExecuteVerb(int Index) override { Executed << Index; }
    QList<int> Executed;
};

TEST(Palette, PagesHoldTheirClassesInOrderAndRegisteringAgainChangesNothing)
{
    for (int round = 0; round < 2; ++round) {
        RegisterAll();
        const QStringList pages = PalettePages();
        ASSERT_TRUE(pages.contains("Vellaro") && pages.contains("Print Jobs")) << pages.join(", ").toStdString();
        EXPECT_LT(pages.indexOf("Vellaro"), pages.indexOf("Print Jobs"));
        EXPECT_EQ(PaletteClasses("Vellaro"), VellaroPage);
        EXPECT_EQ(PaletteClasses("print jobs"), PrintJobsPage) << "page names are case-insensitive";
    }
    EXPECT_EQ(PalettePageOf("TMultiPrintJob"), "Print Jobs");
    EXPECT_EQ(PalettePageOf("TPreviewLabel"), "Vellaro");
    EXPECT_TRUE(PaletteClasses("No such page").isEmpty());
}

TEST(Palette, UnknownClassOrEmptyPageIsRefusedWithoutChangingThePalette)
{
    RegisterAll();
    const QStringList pages = PalettePages();
    EXPECT_THROW(RegisterComponents("Extra", {"TPrintJob", "TNoSuchClass"}), EComponentError);
    EXPECT_THROW(RegisterComponents("", {"TPrintJob"}), EComponentError);
    EXPECT_EQ(PalettePages(), pages);
    // A class already on a page stays where it is.
    RegisterComponents("Vellaro", {"TDraftPrintJob"});
    EXPECT_EQ(PalettePageOf("TDraftPrintJob"), "Print Jobs");
    EXPECT_EQ(PaletteClasses("Vellaro"), VellaroPage);
}

class Registered : public RecordingPrinterTest {
protected:
    void SetUp() override
    {
        RecordingPrinterTest::SetUp();
        RegisterAll();
        Form.SetName("Form1");
    }
    TDataModule Form;
};

TEST_F(Registered, EveryPaletteClassIsCreatedByNameAndHasItsOwnPicture)
{
    std::set<QByteArray> pictures;
    for (const QString& page : {QStringLiteral("Vellaro"), QStringLiteral("Print Jobs")})
        for (const QString& name : PaletteClasses(page)) {
            SCOPED_TRACE(name.toStdString());
            const TComponentClass* cls = FindComponentClass(name);
            ASSERT_NE(cls, nullptr);
            TComponent* component = cls->Create(&Form);
            ASSERT_NE(component, nullptr);
            EXPECT_EQ(StreamClassName(dynamic_cast<QObject*>(component)), name);

            const QImage picture = PaletteBitmap(name);
            ASSERT_FALSE(picture.isNull()) << PaletteBitmapPath(name).toStdString();
            EXPECT_EQ(picture.size(), QSize(24, 24));
            EXPECT_LE(picture.colorCount(), 16);
            EXPECT_GT(picture.colorCount(), 0) << "a palette picture is an indexed image";
            const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
            pictures.insert(QByteArray(reinterpret_cast<const char*>(rgb.constBits()), rgb.sizeInBytes()));
        }
    EXPECT_EQ(pictures.size(), size_t(VellaroPage.size() + PrintJobsPage.size())) << "two classes share a picture";
    EXPECT_EQ(PaletteBitmapPath("TPrintJob"), ":/vellaro/palette/TCUSTOMPRINTJOB.bmp");
    EXPECT_TRUE(PaletteBitmap("TNoSuchClass").isNull());
}

class MultiEditor : public Registered {
protected:
    void SetUp() override
    {
        Registered::SetUp();
        Multi = new TMultiPrintJob(&Form);
        Multi->SetName("Multi1");
        for (const char* name : {"A", "B"}) {
            auto* job = new TPrintJob(&Form);
            job->SetName(QLatin1String(name));
            Multi->Add(job);
        }
    }
    QStringList ListedNames() const
    {
        QStringList names;
        for (int i = 0; i < Multi->GetPrintJobCount(); ++i)
            names << Multi->GetPrintJobName(i);
        return names;
    }
    TMultiPrintJob* Multi = nullptr;
    CountingDesigner Designer;
};

TEST_F(MultiEditor, OffersOneVerbWhateverTheIndex)
{
    const auto editor = CreateComponentEditor(Multi, Designer);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Component(), Multi);
    EXPECT_EQ(editor->GetVerbCount(), 1);
    for (int index : {0, 1, -1})
        EXPECT_EQ(editor->GetVerb(index), "&Print Jobs editor...");
}

TEST_F(MultiEditor, DoubleClickOpensTheDialogAndCancelLeavesListAndFormUnchanged)
{
    const auto editor = CreateComponentEditor(Multi, Designer);
    QString caption;
    WhenEditorShown([&](TfrmMultiEditor* dialog) {
        caption = dialog->Caption();
        Click(dialog, "btnClear");
        Click(dialog, "btnCancel");
    });
    editor->Edit();
    EXPECT_EQ(caption, "Form1.Multi1.PrintJobs");
    EXPECT_EQ(ListedNames(), (QStringList{"A", "B"}));
    EXPECT_EQ(Designer.ModifiedCount, 0);
}

TEST_F(MultiEditor, VerbMarksTheFormModifiedOnlyWhenTheListChanged)
{
    const auto editor = CreateComponentEditor(Multi, Designer);
    struct Case {
        const char* what;
        std::function<void(TfrmMultiEditor*)> act;
        QStringList listed;
        int modified;
    };
    const Case cases[] = {
        {"OK without changes", [](TfrmMultiEditor* d) { Click(d, "btnOk"); }, {"A", "B"}, 0},
        {"reordered", [](TfrmMultiEditor* d) { Click(d, "btnMoveDown"); Click(d, "btnOk"); }, {"B", "A"}, 1},
        {"cleared", [](TfrmMultiEditor* d) { Click(d, "btnClear"); Click(d, "btnOk"); }, {}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WhenEditorShown(c.act);
        editor->ExecuteVerb(3);
        EXPECT_EQ(ListedNames(), c.listed);
        EXPECT_EQ(Designer.ModifiedCount, c.modified);
    }
}

TEST_F(Registered, EditorIsFoundThroughTheNearestRegisteredBaseClass)
{
    CountingDesigner designer;
    auto* appMulti = new TAppMultiJob(&Form);
    const auto multiEditor = CreateComponentEditor(appMulti, designer);
    ASSERT_NE(multiEditor, nullptr);
    EXPECT_EQ(multiEditor->GetVerb(0), "&Print Jobs editor...");

    RegisterComponentEditor<TJobWithEditor, TTwoVerbEditor>();
    auto* own = new TJobWithEditor(&Form);
    auto* plain = new TPrintJob(&Form);
    const auto ownEditor = CreateComponentEditor(own, designer);
    ASSERT_NE(dynamic_cast<TTwoVerbEditor*>(ownEditor.get()), nullptr);
    ownEditor->Edit();
    EXPECT_EQ(static_cast<TTwoVerbEditor*>(ownEditor.get())->Executed, QList<int>{0}) << "a double-click runs verb 0";

    EXPECT_EQ(CreateComponentEditor(plain, designer), nullptr) << "a plain job has no editor";
    EXPECT_EQ(CreateComponentEditor(nullptr, designer), nullptr);
}

TEST(ComponentEditor, WithoutVerbsEditDoesNothingAndVerbIndicesAreRefused)
{
    CountingDesigner designer;
    TDataModule component;
    TComponentEditor editor(&component, designer);
    EXPECT_EQ(editor.GetVerbCount(), 0);
    EXPECT_NO_THROW(editor.Edit());
    EXPECT_THROW(editor.GetVerb(0), EComponentError);
    EXPECT_THROW(editor.ExecuteVerb(0), EComponentError);
    EXPECT_THROW(RegisterComponentEditor(nullptr, {}), EComponentError);
    EXPECT_EQ(designer.ModifiedCount, 0);
}

#include "tst_Registration.moc"
