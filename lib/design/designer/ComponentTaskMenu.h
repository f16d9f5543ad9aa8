#pragma once
// A hosted component's editor verbs in Designer's context menu; the first is the double-click.

#include "design/UiComponents.h"

#include <QPointer>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>

class QDesignerFormEditorInterface;

namespace Vellaro {

/// The verbs of the component editor of one host's component.
class TComponentTaskMenu : public QObject, public QDesignerTaskMenuExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)
public:
    TComponentTaskMenu(QDesignerFormEditorInterface* Core, TUiComponentHost* Host, int VerbCount, QObject* parent);
    QAction* preferredEditAction() const override { return FActions.value(0); }
    QList<QAction*> taskActions() const override { return FActions; }
    /// Runs verb Index on the component; the form is marked modified when the editor says so.
    void RunVerb(int Index);

private:
    QDesignerFormEditorInterface* FCore;
    QPointer<TUiComponentHost> FHost;
    QList<QAction*> FActions;
};

/// Gives every host whose component has an editor with verbs a task menu.
class TComponentTaskMenuFactory : public QExtensionFactory {
    Q_OBJECT
public:
    TComponentTaskMenuFactory(QDesignerFormEditorInterface* Core, QExtensionManager* parent);

protected:
    QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;

private:
    QDesignerFormEditorInterface* FCore;
};

} // namespace Vellaro
