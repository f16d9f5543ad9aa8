#pragma once
// The plugin's widget collection: one widget box entry per palette class, grouped by palette
// page, built from the component registry when Designer loads the plugin.

#include "design/UiComponents.h"

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

namespace Vellaro {

/// One palette class as a Designer widget.
class TVellaroWidget : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)
public:
    TVellaroWidget(const TUiClass& Class, const QString& Page, QObject* parent);

    QString name() const override { return FClass.WidgetClass; }
    QString group() const override { return FPage; }
    QIcon icon() const override { return FIcon; }
    QString toolTip() const override { return FClass.ComponentClass; }
    QString whatsThis() const override;
    bool isContainer() const override { return FContainer; }
    QWidget* createWidget(QWidget* parent) override;
    bool isInitialized() const override { return FCore != nullptr; }
    void initialize(QDesignerFormEditorInterface* core) override;
    QString includeFile() const override { return UiHeader(); }
    QString domXml() const override;

private:
    TUiClass FClass;
    QString FPage;
    QIcon FIcon;
    bool FContainer = false;
    QDesignerFormEditorInterface* FCore = nullptr;
};

/// The plugin's entry point.
class TVellaroWidgets : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
public:
    explicit TVellaroWidgets(QObject* parent = nullptr);
    QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return FWidgets; }

private:
    QList<QDesignerCustomWidgetInterface*> FWidgets;
};

} // namespace Vellaro
