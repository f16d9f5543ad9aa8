#include "VellaroWidgets.h"

#include "ComponentTaskMenu.h"
#include "design/PrintJobs.h"
#include "design/Vellaro.h"
#include "platform/controls/Control.h"
#include "platform/core/ComponentRegistry.h"

#include <QPixmap>
#include <QSet>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QExtensionManager>
#include <memory>

namespace Vellaro {

namespace {

/// Tells the library which widget of a Designer form window is the form, once it is known
/// (a form being loaded gets its main container after its widgets were made).
void MarkForm(QWidget* mainContainer)
{
    if (!mainContainer || !mainContainer->parentWidget())
        return;
    mainContainer->parentWidget()->setProperty(UiFormHolderProperty, true);
    JoinUiForm(mainContainer);
}

void WatchFormWindow(QDesignerFormWindowInterface* formWindow)
{
    QObject::connect(formWindow, &QDesignerFormWindowInterface::mainContainerChanged, formWindow, &MarkForm);
    MarkForm(formWindow->mainContainer());
}

/// Once per Designer: the task menus and the form windows' forms.
void InitializeDesigner(QDesignerFormEditorInterface* core)
{
    static QSet<QDesignerFormEditorInterface*> initialized;
    if (initialized.contains(core))
        return;
    initialized.insert(core);
    QObject::connect(core, &QObject::destroyed, [core] { initialized.remove(core); });
    QExtensionManager* manager = core->extensionManager();
    if (manager)
        manager->registerExtensions(new TComponentTaskMenuFactory(core, manager), Q_TYPEID(QDesignerTaskMenuExtension));
    if (QDesignerFormWindowManagerInterface* forms = core->formWindowManager()) {
        QObject::connect(forms, &QDesignerFormWindowManagerInterface::formWindowAdded, forms, &WatchFormWindow);
        for (int i = 0; i < forms->formWindowCount(); ++i)
            WatchFormWindow(forms->formWindow(i));
    }
}

} // namespace

TVellaroWidget::TVellaroWidget(const TUiClass& Class, const QString& Page, QObject* parent)
    : QObject(parent), FClass(Class), FPage(Page), FIcon(QPixmap::fromImage(PaletteBitmap(Class.ComponentClass)))
{
    // Whether controls can be dropped into it is the control's own style.
    if (FClass.Visual) {
        const std::unique_ptr<QWidget> sample(FClass.Create(nullptr));
        auto* control = dynamic_cast<TControl*>(sample.get());
        FContainer = control && control->ControlStyle().Contains(csAcceptsControls);
    }
}

QString TVellaroWidget::whatsThis() const
{
    return FClass.Visual
        ? tr("%1 of the Vellaro printing library.").arg(FClass.ComponentClass)
        : tr("%1 of the Vellaro printing library: shown on the form while it is designed, hidden at run time.")
              .arg(FClass.ComponentClass);
}

void TVellaroWidget::initialize(QDesignerFormEditorInterface* core)
{
    if (!core)
        return;
    FCore = core;
    connect(core, &QObject::destroyed, this, [this] { FCore = nullptr; });
    InitializeDesigner(core);
}

QWidget* TVellaroWidget::createWidget(QWidget* parent)
{
    QWidget* widget = FClass.Create(parent);
    // Designer's preview of a form (widgets outside any form window) shows the run time.
    const bool preview = FCore && parent && !QDesignerFormWindowInterface::findFormWindow(parent);
    if (auto* host = qobject_cast<TUiComponentHost*>(widget))
        host->SetDesignTime(!preview);
    else if (auto* component = dynamic_cast<TComponent*>(widget))
        component->SetDesigning(!preview);
    return widget;
}

QString TVellaroWidget::domXml() const
{
    // The widget box shows the component's class; the default object name is the class
    // without its T and a number, as a designer names new components.
    const QString name = FClass.ComponentClass.mid(1) + QLatin1Char('1');
    QString specifications;
    for (const QString& reference : FClass.References)
        specifications += QStringLiteral("<stringpropertyspecification name=\"%1\" notr=\"true\" type=\"singleline\"/>").arg(reference);
    return QStringLiteral("<ui language=\"c++\" displayname=\"%1\">"
                          "<widget class=\"%2\" name=\"%3\"/>"
                          "<customwidgets><customwidget><class>%2</class>"
                          "<propertyspecifications>%4</propertyspecifications>"
                          "</customwidget></customwidgets></ui>")
        .arg(FClass.ComponentClass, FClass.WidgetClass, name, specifications);
}

TVellaroWidgets::TVellaroWidgets(QObject* parent) : QObject(parent)
{
    RegisterVellaro();
    RegisterPrintJobs();
    const QStringList pages = PalettePages();
    for (const QString& page : pages) {
        const QStringList classes = PaletteClasses(page);
        for (const QString& name : classes) {
            if (const TUiClass* ui = FindUiClass(name))
                FWidgets << new TVellaroWidget(*ui, page, this);
            else
                qWarning("Vellaro: %s has no form widget class and is left out of the widget box", qPrintable(name));
        }
    }
}

} // namespace Vellaro
