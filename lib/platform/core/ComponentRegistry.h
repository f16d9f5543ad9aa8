#pragma once
// What a form designer needs from the library: which component classes go on which palette
// page, in which order, and which component editor serves a component (its verbs in the
// component's context menu; a double-click runs Edit).

#include "platform/core/Component.h"

#include <QMetaObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace Vellaro {

/// The form designer as a component editor sees it.
class VELLARO_EXPORT TFormDesigner {
public:
    virtual ~TFormDesigner() = default;
    /// The form changed and needs saving.
    virtual void Modified() = 0;
};

/// Edits one component on behalf of a form designer. The base class offers no verbs.
class VELLARO_EXPORT TComponentEditor {
public:
    TComponentEditor(TComponent* AComponent, TFormDesigner& ADesigner);
    virtual ~TComponentEditor() = default;
    TComponentEditor(const TComponentEditor&) = delete;
    TComponentEditor& operator=(const TComponentEditor&) = delete;

    TComponent* Component() const { return FComponent; }
    TFormDesigner& Designer() const { return FDesigner; }

    virtual int GetVerbCount() const { return 0; }
    /// The menu text of verb Index; raises EComponentError for an index the editor lacks.
    virtual QString GetVerb(int Index) const;
    /// Runs verb Index; raises EComponentError for an index the editor lacks.
    virtual void ExecuteVerb(int Index);
    /// The double-click action: verb 0 when there is one, else nothing.
    virtual void Edit();

private:
    TComponent* FComponent;
    TFormDesigner& FDesigner;
};

using TComponentEditorFactory = std::function<std::unique_ptr<TComponentEditor>(TComponent*, TFormDesigner&)>;

/// Puts Classes (names known to the class registry) on palette page Page after those already
/// there. Pages keep the order of their first registration; a class already on a palette page
/// stays where it is. Raises EComponentError for an empty page name or an unknown class, before
/// changing anything.
VELLARO_EXPORT void RegisterComponents(const QString& Page, const QStringList& Classes);
/// Makes Factory create the editor for components of ComponentClass and of every class derived
/// from it that has no editor of its own. A second registration replaces the first.
VELLARO_EXPORT void RegisterComponentEditor(const QMetaObject* ComponentClass, TComponentEditorFactory Factory);

/// Registers editor class E (constructed with the component and the designer) for class C.
template<class C, class E>
void RegisterComponentEditor()
{
    RegisterComponentEditor(&C::staticMetaObject, [](TComponent* Component, TFormDesigner& Designer) {
        return std::unique_ptr<TComponentEditor>(std::make_unique<E>(Component, Designer));
    });
}

/// The palette pages in registration order.
VELLARO_EXPORT QStringList PalettePages();
/// The classes on Page in palette order; empty for an unknown page.
VELLARO_EXPORT QStringList PaletteClasses(const QString& Page);
/// The page a class is on, or an empty string.
VELLARO_EXPORT QString PalettePageOf(const QString& ClassName);
/// A new editor for Component from the registration of its class or its nearest base class
/// that has one; nullptr when none has (or for no component).
VELLARO_EXPORT std::unique_ptr<TComponentEditor> CreateComponentEditor(TComponent* Component, TFormDesigner& Designer);

} // namespace Vellaro
