// The Qt Designer plugin as Designer loads it: its widget box entries, the widgets it makes,
// and the multi job's verb through Designer's extension manager.
#include "design/PrintJobs.h"
#include "design/UiComponents.h"
#include "design/Vellaro.h"
#include "multijobs/PJMultiEditor.h"
#include "platform/controls/Buttons.h"
#include "platform/core/ClassRegistry.h"

#include <QAction>
#include <QApplication>
#include <QPluginLoader>
#include <QTimer>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionManager>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace Vellaro;

namespace {

QList<QDesignerCustomWidgetInterface*> PluginWidgets()
{
    static QPluginLoader loader(QStringLiteral(VELLARO_DESIGNER_PLUGIN));
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    EXPECT_NE(collection, nullptr) << loader.errorString().toStdString();
    return collection ? collection->customWidgets() : QList<QDesignerCustomWidgetInterface*>();
}

QDesignerCustomWidgetInterface* PluginWidget(const QString& componentClass)
{
    for (QDesignerCustomWidgetInterface* widget : PluginWidgets())
        if (widget->toolTip() == componentClass)
            return widget;
    return nullptr;
}

/// Designer's core with nothing but an extension manager, as the plugin's extensions need.
class TBareCore : public QDesignerFormEditorInterface {
public:
    TBareCore() { setExtensionManager(&Manager); }
    QExtensionManager Manager;
};

/// Runs action on the job list editor once its modal loop runs.
void WhenEditorShown(std::function<void(TfrmMultiEditor*)> action)
{
    QTimer::singleShot(0, [action] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* form = dynamic_cast<TfrmMultiEditor*>(w); form && form->isVisible()) {
                action(form);
                return;
            }
        ADD_FAILURE() << "no editor shown";
    });
}

void Click(TComponent* form, const char* button)
{
    dynamic_cast<TButton*>(form->FindComponent(QLatin1String(button)))->click();
}

} // namespace

TEST(DesignerPlugin, ListsEveryPaletteClassOnItsPageWithItsPicture)
{
    const QList<QDesignerCustomWidgetInterface*> widgets = PluginWidgets();
    // Loading the plugin filled the palette of the library it shares with this program.
    QStringList expected;
    for (const QString& page : PalettePages())
        for (const QString& name : PaletteClasses(page))
            expected << page + u'/' + name;
    QStringList listed;
    for (QDesignerCustomWidgetInterface* widget : widgets) {
        listed << widget->group() + u'/' + widget->toolTip();
        SCOPED_TRACE(widget->toolTip().toStdString());
        EXPECT_FALSE(widget->icon().isNull());
        EXPECT_EQ(widget->icon().availableSizes().value(0), QSize(24, 24));
        EXPECT_EQ(widget->includeFile(), "design/UiComponents.h");
        EXPECT_TRUE(widget->domXml().contains(QStringLiteral("class=\"%1\"").arg(widget->name())));
        EXPECT_TRUE(widget->domXml().contains(QStringLiteral("displayname=\"%1\"").arg(widget->toolTip())));
    }
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(listed.size(), 16);
    EXPECT_TRUE(listed.contains("Print Jobs/TMultiPrintJob"));
    EXPECT_TRUE(listed.contains("Vellaro/TPreviewToolbar"));
}

TEST(DesignerPlugin, MakesTheControlsThemselvesAndHostsForTheRest)
{
    QWidget form;
    form.setObjectName("Form1");
    for (QDesignerCustomWidgetInterface* plugin : PluginWidgets()) {
        const QString name = plugin->toolTip();
        SCOPED_TRACE(name.toStdString());
        QWidget* widget = plugin->createWidget(&form);
        ASSERT_NE(widget, nullptr);
        // Designer finds a widget's entry (and writes the .ui class) by its meta-object's name.
        EXPECT_EQ(QString::fromLatin1(widget->metaObject()->className()), plugin->name());
        const QMetaObject* componentClass = FindComponentClass(name)->MetaObject;
        TComponent* component = UiComponentOf(widget);
        ASSERT_NE(component, nullptr);
        EXPECT_TRUE(dynamic_cast<QObject*>(component)->metaObject()->inherits(componentClass));
        EXPECT_TRUE(component->HasState(csDesigning));
        const bool visual = widget->metaObject()->inherits(componentClass);
        EXPECT_EQ(visual, FindUiClass(name)->Visual);
        EXPECT_FALSE(plugin->isContainer()) << "nothing is dropped into the library's controls";
    }
    form.show();
    for (auto* host : form.findChildren<TUiComponentHost*>())
        EXPECT_TRUE(host->isVisible()) << host->metaObject()->className();
}

class DesignerTaskMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (QDesignerCustomWidgetInterface* plugin : PluginWidgets())
            plugin->initialize(&Core);
        Form.setObjectName("MainForm");
        Cover = static_cast<TUiComponentHost*>(PluginWidget("TPrintJob")->createWidget(&Form));
        Cover->setObjectName("Cover");
        Report = static_cast<TUiComponentHost*>(PluginWidget("TPrintJob")->createWidget(&Form));
        Report->setObjectName("Report");
        Book = static_cast<TUiComponentHost*>(PluginWidget("TMultiPrintJob")->createWidget(&Form));
        Book->setObjectName("Book");
        Book->setProperty("PrintJobs", QStringList{"Cover", "Report"});
    }
    TMultiPrintJob* Multi() const { return static_cast<TUiMultiPrintJob*>(Book)->Component(); }
    QDesignerTaskMenuExtension* TaskMenu(QObject* widget) { return qt_extension<QDesignerTaskMenuExtension*>(&Core.Manager, widget); }

    TBareCore Core;
    QWidget Form;
    TUiComponentHost* Cover = nullptr;
    TUiComponentHost* Report = nullptr;
    TUiComponentHost* Book = nullptr;
};

TEST_F(DesignerTaskMenu, OnlyComponentsWithAnEditorHaveVerbs)
{
    QDesignerTaskMenuExtension* menu = TaskMenu(Book);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->taskActions().size(), 1);
    EXPECT_EQ(menu->taskActions().first()->text(), "&Print Jobs editor...");
    EXPECT_EQ(menu->preferredEditAction(), menu->taskActions().first()) << "double-click runs the verb";
    EXPECT_EQ(TaskMenu(Cover), nullptr);
    QWidget plain(&Form);
    EXPECT_EQ(TaskMenu(&plain), nullptr);
}

TEST_F(DesignerTaskMenu, VerbEditsTheListAndTheHostKeepsTheNewList)
{
    QString caption;
    WhenEditorShown([&](TfrmMultiEditor* editor) {
        caption = editor->Caption();
        Click(editor, "btnClear");
        Click(editor, "btnOk");
    });
    TaskMenu(Book)->preferredEditAction()->trigger();
    EXPECT_EQ(caption, "MainForm.Book.PrintJobs");
    EXPECT_EQ(Multi()->GetPrintJobCount(), 0);
    EXPECT_EQ(Book->property("PrintJobs").toStringList(), QStringList()) << "the .ui stores the new list";
}

TEST_F(DesignerTaskMenu, CancelLeavesListAndHostAsTheyWere)
{
    WhenEditorShown([](TfrmMultiEditor* editor) {
        Click(editor, "btnClear");
        Click(editor, "btnCancel");
    });
    TaskMenu(Book)->taskActions().first()->trigger();
    EXPECT_EQ(Multi()->GetPrintJobCount(), 2);
    EXPECT_EQ(Book->property("PrintJobs").toStringList(), QStringList({"Cover", "Report"}));
}

TEST_F(DesignerTaskMenu, RenamingOrDeletingAListedJobKeepsTheStoredListInStep)
{
    Cover->setObjectName("TitlePage");
    EXPECT_EQ(Book->property("PrintJobs").toStringList(), QStringList({"TitlePage", "Report"}));
    EXPECT_EQ(Multi()->GetPrintJob(0), Cover->HostedComponent());
    // A designer deleting a widget takes it off the form and keeps it for undo.
    std::unique_ptr<QWidget> taken(Report);
    Report->setParent(nullptr);
    EXPECT_EQ(Book->property("PrintJobs").toStringList(), QStringList({"TitlePage"}));
    EXPECT_EQ(Multi()->GetPrintJobCount(), 1);
    ASSERT_NE(Report->HostedComponent(), nullptr) << "the job itself stays for undo";
    taken.reset();
    delete Cover;
    EXPECT_EQ(Book->property("PrintJobs").toStringList(), QStringList());
    EXPECT_EQ(Multi()->GetPrintJobCount(), 0);
}

TEST_F(DesignerTaskMenu, UndoingDeletionsPutsTheJobsBackInTheirPlaces)
{
    auto* appendix = PluginWidget("TPrintJob")->createWidget(&Form);
    appendix->setObjectName("Appendix");
    Book->setProperty("PrintJobs", QStringList{"Cover", "Report", "Appendix"});
    // A designer deletes a selection one widget after the other and undoes it in reverse.
    Cover->setParent(nullptr);
    Report->setParent(nullptr);
    EXPECT_EQ(Book->property("PrintJobs").toStringList(), QStringList({"Appendix"}));
    Report->setParent(&Form);
    EXPECT_EQ(Book->property("PrintJobs").toStringList(), QStringList({"Report", "Appendix"}));
    Cover->setParent(&Form);
    EXPECT_EQ(Book->property("PrintJobs").toStringList(), QStringList({"Cover", "Report", "Appendix"}));
    EXPECT_EQ(Multi()->GetPrintJob(0), Cover->HostedComponent());
    // Redo and undo again; a job that comes back once is listed once.
    Report->setParent(nullptr);
    Report->setParent(&Form);
    Report->setParent(&Form);
    EXPECT_EQ(Book->property("PrintJobs").toStringList(), QStringList({"Cover", "Report", "Appendix"}));
    // A job the list had dropped before it left stays out when it comes back.
    Book->setProperty("PrintJobs", QStringList{"Cover"});
    appendix->setParent(nullptr);
    appendix->setParent(&Form);
    EXPECT_EQ(Book->property("PrintJobs").toStringList(), QStringList({"Cover"}));
}

TEST_F(DesignerTaskMenu, AListWaitingForItsJobsIsNotRewritten)
{
    // As a .ui file loads: the list names jobs made after it; other renames leave it alone.
    auto* early = static_cast<TUiComponentHost*>(PluginWidget("TMultiPrintJob")->createWidget(&Form));
    early->setObjectName("Early");
    early->setProperty("PrintJobs", QStringList{"Later"});
    Cover->setObjectName("Front");
    EXPECT_EQ(early->property("PrintJobs").toStringList(), QStringList({"Later"}));
    auto* later = PluginWidget("TPrintJob")->createWidget(&Form);
    later->setObjectName("Later");
    EXPECT_EQ(static_cast<TUiMultiPrintJob*>(early)->Component()->GetPrintJobCount(), 1);
    later->setObjectName("Renamed");
    EXPECT_EQ(early->property("PrintJobs").toStringList(), QStringList({"Renamed"}));
}
