#include "ComponentTaskMenu.h"

#include "platform/core/ComponentRegistry.h"

#include <QAction>
#include <QMessageBox>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QExtensionManager>

namespace Vellaro {

namespace {

/// The form window as a component editor sees it.
class TFormWindowDesigner : public TFormDesigner {
public:
    explicit TFormWindowDesigner(QWidget* host) : FHost(host) {}
    void Modified() override
    {
        FModified = true;
        if (QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(FHost))
            form->setDirty(true);
    }
    bool WasModified() const { return FModified; }

private:
    QWidget* FHost;
    bool FModified = false;
};

/// Asks for an editor only to count its verbs.
class TNoDesigner : public TFormDesigner {
public:
    void Modified() override {}
};

} // namespace

TComponentTaskMenu::TComponentTaskMenu(QDesignerFormEditorInterface* Core, TUiComponentHost* Host, int VerbCount, QObject* parent)
    : QObject(parent), FCore(Core), FHost(Host)
{
    TNoDesigner designer;
    const auto editor = CreateComponentEditor(Host->HostedComponent(), designer);
    for (int i = 0; editor && i < VerbCount; ++i) {
        auto* action = new QAction(editor->GetVerb(i), this);
        connect(action, &QAction::triggered, this, [this, i] { RunVerb(i); });
        FActions << action;
    }
}

void TComponentTaskMenu::RunVerb(int Index)
{
    if (!FHost || !FHost->HostedComponent())
        return;
    TFormWindowDesigner designer(FHost);
    try {
        if (const auto editor = CreateComponentEditor(FHost->HostedComponent(), designer))
            editor->ExecuteVerb(Index);
    } catch (const Exception& e) {
        QMessageBox::warning(FHost->window(), tr("Vellaro"), e.Message());
    }
    if (!designer.WasModified())
        return;
    // What the editor changed is stored on the host, as a property edit of the form (so it is
    // saved, shown and can be undone).
    QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(FHost);
    if (!form || !form->cursor()) {
        FHost->SyncFromComponent();
        return;
    }
    for (const QByteArray& name : FHost->DesignProperties()) {
        const QVariant value = FHost->DesignValue(name);
        if (FHost->property(name.constData()) != value)
            form->cursor()->setWidgetProperty(FHost, QString::fromLatin1(name), value);
    }
}

TComponentTaskMenuFactory::TComponentTaskMenuFactory(QDesignerFormEditorInterface* Core, QExtensionManager* parent)
    : QExtensionFactory(parent), FCore(Core)
{
}

QObject* TComponentTaskMenuFactory::createExtension(QObject* object, const QString& iid, QObject* parent) const
{
    if (iid != QLatin1String(Q_TYPEID(QDesignerTaskMenuExtension)))
        return nullptr;
    auto* host = qobject_cast<TUiComponentHost*>(object);
    if (!host || !host->HostedComponent())
        return nullptr;
    TNoDesigner designer;
    const auto editor = CreateComponentEditor(host->HostedComponent(), designer);
    if (!editor || editor->GetVerbCount() == 0)
        return nullptr;
    return new TComponentTaskMenu(FCore, host, editor->GetVerbCount(), parent);
}

} // namespace Vellaro
