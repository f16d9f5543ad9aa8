#include "platform/core/ComponentRegistry.h"

#include "platform/core/ClassRegistry.h"

#include <QHash>
#include <QObject>
#include <utility>
#include <vector>

namespace Vellaro {

namespace {

struct TPalettePage {
    QString Name;
    QStringList Classes;
};

std::vector<TPalettePage>& Pages()
{
    static std::vector<TPalettePage> pages;
    return pages;
}

QHash<const QMetaObject*, TComponentEditorFactory>& Editors()
{
    static QHash<const QMetaObject*, TComponentEditorFactory> editors;
    return editors;
}

TPalettePage* FindPage(const QString& Name)
{
    for (TPalettePage& page : Pages())
        if (page.Name.compare(Name, Qt::CaseInsensitive) == 0)
            return &page;
    return nullptr;
}

void CheckVerbIndex(int Index, int Count)
{
    if (Index < 0 || Index >= Count)
        throw EComponentError(QStringLiteral("Verb index out of bounds (%1)").arg(Index));
}

} // namespace

TComponentEditor::TComponentEditor(TComponent* AComponent, TFormDesigner& ADesigner)
    : FComponent(AComponent), FDesigner(ADesigner)
{
}

QString TComponentEditor::GetVerb(int Index) const
{
    CheckVerbIndex(Index, GetVerbCount());
    return {};
}

void TComponentEditor::ExecuteVerb(int Index)
{
    CheckVerbIndex(Index, GetVerbCount());
}

void TComponentEditor::Edit()
{
    if (GetVerbCount() > 0)
        ExecuteVerb(0);
}

void RegisterComponents(const QString& Page, const QStringList& Classes)
{
    if (Page.isEmpty())
        throw EComponentError(QStringLiteral("A palette page needs a name"));
    QStringList names;
    for (const QString& name : Classes) {
        const TComponentClass* cls = FindComponentClass(name);
        if (!cls)
            throw EComponentError(QStringLiteral("Class %1 not found").arg(name));
        names << cls->Name;
    }
    TPalettePage* page = FindPage(Page);
    if (!page)
        page = &Pages().emplace_back(TPalettePage{Page, {}});
    for (const QString& name : std::as_const(names))
        if (PalettePageOf(name).isEmpty())
            page->Classes << name;
}

void RegisterComponentEditor(const QMetaObject* ComponentClass, TComponentEditorFactory Factory)
{
    if (!ComponentClass || !Factory)
        throw EComponentError(QStringLiteral("A component editor needs a class and a factory"));
    Editors().insert(ComponentClass, std::move(Factory));
}

QStringList PalettePages()
{
    QStringList names;
    for (const TPalettePage& page : Pages())
        names << page.Name;
    return names;
}

QStringList PaletteClasses(const QString& Page)
{
    const TPalettePage* page = FindPage(Page);
    return page ? page->Classes : QStringList();
}

QString PalettePageOf(const QString& ClassName)
{
    for (const TPalettePage& page : Pages())
        if (page.Classes.contains(ClassName, Qt::CaseInsensitive))
            return page.Name;
    return {};
}

std::unique_ptr<TComponentEditor> CreateComponentEditor(TComponent* Component, TFormDesigner& Designer)
{
    // Components are QObjects as well; the meta-object chain gives the nearest registered base.
    const auto* object = dynamic_cast<const QObject*>(Component);
    if (!object)
        return nullptr;
    for (const QMetaObject* cls = object->metaObject(); cls; cls = cls->superClass())
        if (auto it = Editors().constFind(cls); it != Editors().constEnd())
            return (*it)(Component, Designer);
    return nullptr;
}

} // namespace Vellaro
