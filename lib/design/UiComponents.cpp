#include "design/UiComponents.h"

#include "design/Vellaro.h"
#include "gridjobs/PJDBGrid.h"
#include "gridjobs/PJListView.h"
#include "gridjobs/PJSimpleGrid.h"
#include "gridjobs/PJSimpleTextGrid.h"
#include "gridjobs/PJStringGrid.h"
#include "job/VLJob.h"
#include "multijobs/PJDraft.h"
#include "multijobs/PJMulti.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"
#include "preview/VLWindow.h"
#include "textjobs/PJRichEdit.h"
#include "textjobs/PJStrings.h"

#include <QDynamicPropertyChangeEvent>
#include <QMetaProperty>
#include <QPainter>
#include <QPointer>
#include <QSet>
#include <QtDebug>
#include <algorithm>
#include <vector>

namespace Vellaro {

namespace {

/// The names a single-object reference holds: none for an empty name.
QStringList SingleName(const QString& name)
{
    return name.isEmpty() ? QStringList() : QStringList{name};
}

constexpr char FormComponentsName[] = "VellaroFormComponents";
constexpr char PrintJobsProperty[] = "PrintJobs";

/// The owner of every hosted component of one form, a plain child object of the form widget.
class TFormComponents : public QObject, public TComponent {
public:
    explicit TFormComponents(QWidget* form) : QObject(form) { setObjectName(QLatin1String(FormComponentsName)); }
    ~TFormComponents() override { DestroyComponent(); }
};

TComponent* FormComponents(QWidget* form)
{
    const auto children = form->findChildren<QObject*>(QLatin1String(FormComponentsName), Qt::FindDirectChildrenOnly);
    for (QObject* child : children)
        if (auto* root = dynamic_cast<TFormComponents*>(child))
            return root;
    return new TFormComponents(form);
}

/// The widget called Name on Form (Form itself included), or nullptr.
QWidget* FindOnForm(QWidget* form, const QString& name)
{
    if (form->objectName() == name)
        return form;
    return form->findChild<QWidget*>(name);
}

/// How a designer edits a component property on a host.
enum class TKind { None, Plain, Enum, Reference, Text };

/// A reference the form can hold: to a print job or a preview pane placed on it.
bool IsFormReference(const QMetaType& type)
{
    const QMetaObject* target = type.metaObject();
    return (type.flags() & QMetaType::PointerToQObject) && target
        && (target->inherits(&TCustomPrintJob::staticMetaObject) || target->inherits(&TCustomPreview::staticMetaObject));
}

TKind Classify(const QMetaProperty& property)
{
    const QByteArray name = property.name();
    if (name == "Name" || name == "Tag" || !property.isWritable())
        return TKind::None;
    if (property.isEnumType())
        return property.isFlagType() ? TKind::None : TKind::Enum;
    const QMetaType type = property.metaType();
    switch (type.id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Double:
    case QMetaType::QString:
    case QMetaType::QStringList:
    case QMetaType::QFont:
        return TKind::Plain;
    default:
        break;
    }
    if (IsFormReference(type))
        return TKind::Reference;
    // Sets and other values with a one-line stored form travel as that text; events (bound to
    // handlers in code) and nested objects do not.
    if (!name.startsWith("On") && FindPropertyCodec(type))
        return TKind::Text;
    return TKind::None;
}

/// The stored form of one property as a form file writes it ("" when it is not written or
/// takes more than one line).
QString PropertyText(TComponent* component, const QByteArray& property)
{
    const QString prefix = QStringLiteral("  %1 = ").arg(QLatin1String(property));
    const QStringList lines = ComponentToText(component).split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(prefix)) {
            const bool continued = i + 1 < lines.size() && lines[i + 1].startsWith(QLatin1String("    "));
            return continued ? QString() : lines[i].mid(prefix.size());
        }
    return {};
}

/// Reads "Property = Text" into component as a form file would.
void ApplyPropertyText(TComponent* component, QObject* object, const QByteArray& property, const QString& text)
{
    const QString name = component->Name();
    const QString objectName = name.isEmpty() ? QStringLiteral("Component") : name;
    ReadComponentText(QStringLiteral("object %1: %2\n  %3 = %4\nend\n")
                          .arg(objectName, StreamClassName(object), QLatin1String(property), text),
        component);
    if (name.isEmpty())
        component->SetName(QString());
}

/// Keeps a form object's component name equal to its object name, and resolves the form's
/// references when an object is renamed or moved to another parent.
class TUiWatcher : public QObject {
public:
    TUiWatcher(QWidget* widget, TComponent* component) : QObject(widget), FWidget(widget), FComponent(component)
    {
        widget->installEventFilter(this);
        connect(widget, &QObject::objectNameChanged, this, [this](const QString& name) {
            try {
                FComponent->SetName(name);
            } catch (const Exception& e) {
                qWarning("%s", qPrintable(e.Message()));
            }
            ResolveUiReferences(FWidget);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == FWidget && event->type() == QEvent::ParentChange)
            ResolveUiReferences(FWidget);
        return false;
    }

private:
    QWidget* FWidget;
    TComponent* FComponent;
};

} // namespace

QWidget* UiFormOf(QWidget* widget)
{
    QWidget* top = widget;
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        const QWidget* parent = w->parentWidget();
        if (parent && parent->property(UiFormHolderProperty).toBool())
            return w;
        top = w;
    }
    return top;
}

TComponent* UiComponentOf(QObject* object)
{
    if (auto* host = qobject_cast<TUiComponentHost*>(object))
        return host->HostedComponent();
    return dynamic_cast<TComponent*>(object);
}

namespace {

void ResolveOnForm(QWidget* form, bool again)
{
    QList<QWidget*> objects = form->findChildren<QWidget*>();
    objects.prepend(form);
    for (QWidget* w : std::as_const(objects))
        if (auto* references = dynamic_cast<TUiReferences*>(w))
            references->ResolveReferences(form, again);
}

} // namespace

namespace {

/// The hosts of multi jobs that exist, so their lists can follow renames and deletions without
/// walking a form (which may be in the middle of deleting its children).
QSet<TUiComponentHost*>& MultiJobHosts()
{
    // Never destroyed: a host may outlive the statics (a widget deleted at exit).
    static auto* hosts = new QSet<TUiComponentHost*>;
    return *hosts;
}

/// Every multi job stores its list under its jobs' current names.
void SyncPrintJobLists()
{
    const QList<TUiComponentHost*> hosts = MultiJobHosts().values();
    for (TUiComponentHost* host : hosts)
        if (MultiJobHosts().contains(host))
            host->SyncPrintJobs();
}

} // namespace

void ResolveUiReferences(QWidget* widget)
{
    if (widget)
        ResolveOnForm(UiFormOf(widget), false);
}

void JoinUiForm(QWidget* Form)
{
    if (!Form)
        return;
    const auto hosts = Form->findChildren<TUiComponentHost*>();
    for (TUiComponentHost* host : hosts)
        host->JoinForm();
    ResolveOnForm(Form, true);
}

// ---- TUiReferences ------------------------------------------------------------------------

bool TUiReferences::ReferenceResolved(const QByteArray& Property) const
{
    const auto it = FReferences.constFind(Property);
    return it == FReferences.constEnd() || it->Resolved;
}

void TUiReferences::RenameReference(const QByteArray& Property, const QStringList& Names)
{
    const auto it = FReferences.find(Property);
    if (it != FReferences.end() && it->Resolved)
        it->Names = Names;
}

QString TUiReferences::ReferenceName(const QByteArray& Property) const
{
    const auto it = FReferences.constFind(Property);
    return it == FReferences.constEnd() ? QString() : it->Names.join(u',');
}

void TUiReferences::SetReference(QWidget* Self, QObject* Target, const QByteArray& Property, const QStringList& Names,
    const QMetaObject* Class)
{
    TPending& pending = FReferences[Property];
    pending.Target = Target;
    pending.Class = Class ? Class : Target->metaObject();
    pending.Names = Names;
    pending.Resolved = false;
    if (Names.isEmpty()) {
        ApplyReference(Target, pending.Class, Property, {});
        pending.Resolved = true;
        return;
    }
    ResolveReferences(UiFormOf(Self));
}

void TUiReferences::ResolveReferences(QWidget* Form, bool Again)
{
    for (auto it = FReferences.begin(); it != FReferences.end(); ++it) {
        TPending& pending = it.value();
        if ((pending.Resolved && !(Again && !pending.Names.isEmpty())) || !pending.Target)
            continue;
        QList<TComponent*> found;
        for (const QString& name : std::as_const(pending.Names)) {
            QWidget* widget = FindOnForm(Form, name);
            TComponent* component = widget ? UiComponentOf(widget) : nullptr;
            if (!component)
                break;
            found << component;
        }
        if (found.size() != pending.Names.size())
            continue; // not on the form yet
        pending.Resolved = true;
        ApplyReference(pending.Target, pending.Class, it.key(), found);
    }
}

void TUiReferences::ApplyReference(QObject* Target, const QMetaObject* Class, const QByteArray& Property,
    const QList<TComponent*>& Found)
{
    const QMetaProperty property = Class->property(Class->indexOfProperty(Property.constData()));
    if (!property.isValid())
        return;
    // The library's component classes have QObject (or QWidget) as their first base, so the
    // QObject pointer is also the pointer of the property's class.
    QObject* object = Found.isEmpty() ? nullptr : dynamic_cast<QObject*>(Found.first());
    const QMetaObject* type = property.metaType().metaObject();
    if (object && (!type || !type->cast(object))) {
        qWarning("%s cannot refer to %s", Property.constData(), object->metaObject()->className());
        return;
    }
    try {
        property.write(Target, QVariant(property.metaType(), &object));
    } catch (const Exception& e) {
        qWarning("%s", qPrintable(e.Message()));
    }
}

// ---- TUiComponentHost ---------------------------------------------------------------------

/// Forgets the hosted component when something else destroys it.
class TUiComponentHost::TWatch : public TComponent {
public:
    explicit TWatch(TUiComponentHost* host) : FHost(host) { FreeNotification(host->FComponent); }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == FHost->FComponent)
            FHost->FComponent = nullptr;
    }

private:
    TUiComponentHost* FHost;
};

TUiComponentHost::TUiComponentHost(TComponent* Component, QWidget* parent) : QWidget(parent), FComponent(Component)
{
    FWatch = std::make_unique<TWatch>(this);
    if (dynamic_cast<TCustomMultiPrintJob*>(Component))
        MultiJobHosts().insert(this);
    hide(); // a run-time form never shows it
    connect(this, &QObject::objectNameChanged, this, [this](const QString& name) {
        if (FComponent) {
            try {
                FComponent->SetName(name);
            } catch (const Exception& e) {
                qWarning("%s", qPrintable(e.Message()));
            }
        }
        if (FDesignTime) {
            updateGeometry();
            resize(sizeHint());
            update();
        }
        ResolveUiReferences(this);
        // Lists that name this job store its new name.
        SyncPrintJobLists();
    });
    JoinForm();
}

TUiComponentHost::~TUiComponentHost()
{
    MultiJobHosts().remove(this);
    if (TComponent* component = std::exchange(FComponent, nullptr)) {
        FWatch->RemoveFreeNotification(component);
        delete component; // a multi job listing it lets go of it
        SyncPrintJobLists();
    }
}

void TUiComponentHost::SyncPrintJobs()
{
    auto* multi = Hosted<TCustomMultiPrintJob>();
    // A list still waiting for its jobs to appear keeps the names it was given.
    if (!multi || !ReferenceResolved(PrintJobsProperty) || property(PrintJobsProperty).isNull())
        return;
    const QStringList names = DesignValue(PrintJobsProperty).toStringList();
    RenameReference(PrintJobsProperty, names);
    if (property(PrintJobsProperty).toStringList() == names)
        return;
    FMirroring = true;
    setProperty(PrintJobsProperty, names);
    FMirroring = false;
}

void TUiComponentHost::LeaveOldForm()
{
    auto* root = dynamic_cast<TFormComponents*>(FComponent ? FComponent->Owner() : nullptr);
    auto* oldForm = root ? qobject_cast<QWidget*>(root->parent()) : nullptr;
    if (!oldForm || UiFormOf(this) == oldForm)
        return;
    // A designer deleting a widget takes it off the form (it stays for undo): the form's other
    // components hear that it left, and the lists naming it forget it until it comes back.
    const QList<TUiComponentHost*> multiJobs = MultiJobHosts().values();
    for (TUiComponentHost* multi : multiJobs)
        multi->NoteLeaving(this);
    root->RemoveComponent(FComponent);
    SyncPrintJobLists();
}

void TUiComponentHost::NoteLeaving(TUiComponentHost* Job)
{
    auto* multi = Hosted<TCustomMultiPrintJob>();
    const int index = multi ? multi->IndexOf(dynamic_cast<TCustomPrintJob*>(Job->FComponent)) : -1;
    if (index >= 0)
        FLeftJobs.append({Job, index});
}

void TUiComponentHost::TakeBack(TUiComponentHost* Job)
{
    auto* multi = Hosted<TCustomMultiPrintJob>();
    auto* job = dynamic_cast<TCustomPrintJob*>(Job->FComponent);
    bool listed = false;
    // Newest first: undo brings jobs back in the reverse order of their leaving.
    for (qsizetype i = FLeftJobs.size() - 1; i >= 0; --i) {
        const TLeftJob left = FLeftJobs[i];
        if (left.Job && left.Job != Job)
            continue;
        FLeftJobs.removeAt(i);
        if (left.Job && multi && job && !listed && multi->IndexOf(job) < 0
            && UiFormOf(this) == UiFormOf(Job)) {
            multi->Insert(std::min(left.Index, multi->GetPrintJobCount()), job);
            listed = true;
        }
    }
    if (listed)
        SyncPrintJobs();
}

void TUiComponentHost::JoinForm()
{
    QWidget* form = UiFormOf(this);
    if (!FComponent || form == this)
        return;
    TComponent* root = FormComponents(form);
    try {
        if (root->Name() != form->objectName())
            root->SetName(form->objectName());
        if (FComponent->Owner() != root) {
            root->InsertComponent(FComponent);
            const QList<TUiComponentHost*> multiJobs = MultiJobHosts().values();
            for (TUiComponentHost* multi : multiJobs)
                multi->TakeBack(this);
        }
    } catch (const Exception& e) {
        qWarning("%s", qPrintable(e.Message()));
    }
}

void TUiComponentHost::SetDesignTime(bool value)
{
    FDesignTime = value;
    if (FComponent)
        FComponent->SetDesigning(value);
    if (value) {
        SyncFromComponent();
        resize(sizeHint());
    }
    setVisible(value);
}

QList<QByteArray> TUiComponentHost::DesignProperties() const
{
    QList<QByteArray> names;
    auto* object = dynamic_cast<QObject*>(FComponent);
    if (!object)
        return names;
    const QMetaObject* meta = object->metaObject();
    for (int index : StreamedProperties(meta))
        if (Classify(meta->property(index)) != TKind::None)
            names << meta->property(index).name();
    if (Hosted<TCustomMultiPrintJob>())
        names << PrintJobsProperty;
    return names;
}

QVariant TUiComponentHost::DesignValue(const QByteArray& Property) const
{
    auto* object = dynamic_cast<QObject*>(FComponent);
    if (!object)
        return {};
    if (auto* multi = Hosted<TCustomMultiPrintJob>(); multi && Property == PrintJobsProperty) {
        QStringList names;
        for (int i = 0; i < multi->GetPrintJobCount(); ++i) {
            TCustomPrintJob* job = multi->GetPrintJob(i);
            names << (job ? job->Name() : multi->GetPrintJobName(i));
        }
        return names;
    }
    const QMetaObject* meta = object->metaObject();
    const QMetaProperty property = meta->property(meta->indexOfProperty(Property.constData()));
    switch (Classify(property)) {
    case TKind::Plain:
        return property.read(object);
    case TKind::Enum:
        return QString::fromLatin1(property.enumerator().valueToKey(property.read(object).toInt()));
    case TKind::Reference: {
        auto* target = dynamic_cast<TComponent*>(property.read(object).value<QObject*>());
        return target ? target->Name() : ReferenceName(Property);
    }
    case TKind::Text:
        return PropertyText(FComponent, Property);
    case TKind::None:
        break;
    }
    return {};
}

QList<QByteArray> TUiComponentHost::SyncFromComponent()
{
    QList<QByteArray> changed;
    FMirroring = true;
    for (const QByteArray& name : DesignProperties()) {
        const QVariant value = DesignValue(name);
        if (property(name.constData()) != value) {
            setProperty(name.constData(), value);
            changed << name;
        }
    }
    FMirroring = false;
    return changed;
}

void TUiComponentHost::Forward(const QByteArray& Property, const QVariant& Value)
{
    auto* object = dynamic_cast<QObject*>(FComponent);
    if (!object || !Value.isValid())
        return;
    if (Hosted<TCustomMultiPrintJob>() && Property == PrintJobsProperty) {
        SetReference(this, object, Property, Value.toStringList());
        return;
    }
    const QMetaObject* meta = object->metaObject();
    const QMetaProperty property = meta->property(meta->indexOfProperty(Property.constData()));
    try {
        switch (Classify(property)) {
        case TKind::Plain:
        case TKind::Enum: // an enumeration takes the name of its value
            if (!property.write(object, Value))
                qWarning("%s: cannot set %s to %s", qPrintable(FComponent->Name()), Property.constData(),
                    qPrintable(Value.toString()));
            break;
        case TKind::Reference: {
            const QString name = Value.toString();
            SetReference(this, object, Property, name.isEmpty() ? QStringList() : QStringList{name});
            break;
        }
        case TKind::Text:
            if (!Value.toString().isEmpty())
                ApplyPropertyText(FComponent, object, Property, Value.toString());
            break;
        case TKind::None:
            break;
        }
    } catch (const Exception& e) {
        qWarning("%s: %s", qPrintable(FComponent->Name()), qPrintable(e.Message()));
    }
}

void TUiComponentHost::ApplyReference(QObject* Target, const QMetaObject* Class, const QByteArray& Property,
    const QList<TComponent*>& Found)
{
    auto* multi = Hosted<TCustomMultiPrintJob>();
    if (!multi || Property != PrintJobsProperty) {
        TUiReferences::ApplyReference(Target, Class, Property, Found);
        return;
    }
    multi->Clear();
    for (TComponent* component : Found)
        if (auto* job = dynamic_cast<TCustomPrintJob*>(component); job && job != multi)
            multi->Add(job);
}

bool TUiComponentHost::event(QEvent* event)
{
    if (event->type() == QEvent::DynamicPropertyChange && !FMirroring) {
        const QByteArray name = static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName();
        Forward(name, property(name.constData()));
    } else if (event->type() == QEvent::ParentChange) {
        LeaveOldForm();
        JoinForm();
        ResolveUiReferences(this);
    }
    return QWidget::event(event);
}

QSize TUiComponentHost::sizeHint() const
{
    const QFontMetrics metrics(font());
    const QString name = FComponent ? FComponent->Name() : objectName();
    return QSize(std::max(44, metrics.horizontalAdvance(name) + 10), 24 + 8 + metrics.height());
}

void TUiComponentHost::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
    painter.setPen(palette().dark().color());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    auto* object = dynamic_cast<QObject*>(FComponent);
    const QImage picture = object ? PaletteBitmap(StreamClassName(object)) : QImage();
    painter.drawImage(QPoint((width() - 24) / 2, 3), picture);
    painter.setPen(palette().buttonText().color());
    const QString name = FComponent ? FComponent->Name() : objectName();
    const QRect text(2, 24 + 5, width() - 4, height() - 24 - 6);
    painter.drawText(text, Qt::AlignHCenter | Qt::AlignTop, fontMetrics().elidedText(name, Qt::ElideRight, text.width()));
}

// ---- Host classes -------------------------------------------------------------------------

#define VELLARO_UI_HOST(Host, Class)                                                         \
    Host::Host(QWidget* parent) : TUiComponentHost(new Class(nullptr), parent) {}            \
    Class* Host::Component() const { return Hosted<Class>(); }

VELLARO_UI_HOST(TUiPrintJob, TPrintJob)
VELLARO_UI_HOST(TUiSimpleGridPrintJob, TSimpleGridPrintJob)
VELLARO_UI_HOST(TUiSimpleTextGridPrintJob, TSimpleTextGridPrintJob)
VELLARO_UI_HOST(TUiStringGridPrintJob, TStringGridPrintJob)
VELLARO_UI_HOST(TUiDBGridPrintJob, TDBGridPrintJob)
VELLARO_UI_HOST(TUiListViewPrintJob, TListViewPrintJob)
VELLARO_UI_HOST(TUiStringsPrintJob, TStringsPrintJob)
VELLARO_UI_HOST(TUiRichEditPrintJob, TRichEditPrintJob)
VELLARO_UI_HOST(TUiMultiPrintJob, TMultiPrintJob)
VELLARO_UI_HOST(TUiDraftPrintJob, TDraftPrintJob)
VELLARO_UI_HOST(TUiPreviewWindow, TPreviewWindow)

#undef VELLARO_UI_HOST

// ---- The preview controls -----------------------------------------------------------------

TUiPreview::TUiPreview(QWidget* parent) : TPreview(nullptr, parent) { new TUiWatcher(this, this); }

void TUiPreview::SetPrintJobName(const QString& value)
{
    SetReference(this, this, "PrintJob", SingleName(value), &TPreview::staticMetaObject);
}

TUiPreviewToolbar::TUiPreviewToolbar(QWidget* parent) : TPreviewToolbar(nullptr, parent) { new TUiWatcher(this, this); }

void TUiPreviewToolbar::SetPreviewName(const QString& value)
{
    SetReference(this, this, "Preview", SingleName(value), &TPreviewToolbar::staticMetaObject);
}

QString TUiPreviewToolbar::ButtonsText() const
{
    const QMetaEnum kinds = QMetaEnum::fromType<TButtonKind>();
    QStringList names;
    for (int i = 0; i < kinds.keyCount(); ++i)
        if (Buttons().Contains(TButtonKind(kinds.value(i))))
            names << QLatin1String(kinds.key(i));
    return u'[' + names.join(QLatin1String(", ")) + u']';
}

void TUiPreviewToolbar::SetButtonsText(const QString& value)
{
    const QMetaEnum kinds = QMetaEnum::fromType<TButtonKind>();
    QString text = value.trimmed();
    if (text.startsWith(u'[') && text.endsWith(u']'))
        text = text.mid(1, text.size() - 2);
    TButtons buttons;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        bool known = false;
        const int kind = kinds.keyToValue(part.trimmed().toLatin1().constData(), &known);
        if (!known) {
            qWarning("%s: %s is no toolbar button", qPrintable(Name()), qPrintable(part.trimmed()));
            return;
        }
        buttons.Include(TButtonKind(kind));
    }
    SetButtons(buttons);
}

TUiPreviewStatusBar::TUiPreviewStatusBar(QWidget* parent) : TPreviewStatusBar(nullptr, parent) { new TUiWatcher(this, this); }

void TUiPreviewStatusBar::SetPreviewName(const QString& value)
{
    SetReference(this, this, "Preview", SingleName(value), &TPreviewStatusBar::staticMetaObject);
}

TUiPreviewComboBox::TUiPreviewComboBox(QWidget* parent) : TPreviewComboBox(nullptr, parent) { new TUiWatcher(this, this); }

void TUiPreviewComboBox::SetPreviewName(const QString& value)
{
    SetReference(this, this, "Preview", SingleName(value), &TPreviewComboBox::staticMetaObject);
}

TUiPreviewLabel::TUiPreviewLabel(QWidget* parent) : TPreviewLabel(nullptr, parent) { new TUiWatcher(this, this); }

void TUiPreviewLabel::SetPreviewName(const QString& value)
{
    SetReference(this, this, "Preview", SingleName(value), &TPreviewLabel::staticMetaObject);
}

// ---- The table a designer reads -----------------------------------------------------------

namespace {

template<class W>
TUiClass UiClass(const char* component, const char* widget, bool visual, QStringList references = {})
{
    return TUiClass{QLatin1String(component), QLatin1String(widget), visual, std::move(references),
        [](QWidget* parent) -> QWidget* { return new W(parent); }};
}

const std::vector<TUiClass>& UiClasses()
{
    static const std::vector<TUiClass> classes = {
        UiClass<TUiPrintJob>("TPrintJob", "Vellaro::TUiPrintJob", false),
        UiClass<TUiPreview>("TPreview", "Vellaro::TUiPreview", true, {"PrintJob"}),
        UiClass<TUiPreviewWindow>("TPreviewWindow", "Vellaro::TUiPreviewWindow", false, {"PrintJob"}),
        UiClass<TUiPreviewToolbar>("TPreviewToolbar", "Vellaro::TUiPreviewToolbar", true, {"Preview"}),
        UiClass<TUiPreviewStatusBar>("TPreviewStatusBar", "Vellaro::TUiPreviewStatusBar", true, {"Preview"}),
        UiClass<TUiPreviewComboBox>("TPreviewComboBox", "Vellaro::TUiPreviewComboBox", true, {"Preview"}),
        UiClass<TUiPreviewLabel>("TPreviewLabel", "Vellaro::TUiPreviewLabel", true, {"Preview"}),
        UiClass<TUiSimpleGridPrintJob>("TSimpleGridPrintJob", "Vellaro::TUiSimpleGridPrintJob", false),
        UiClass<TUiSimpleTextGridPrintJob>("TSimpleTextGridPrintJob", "Vellaro::TUiSimpleTextGridPrintJob", false),
        UiClass<TUiStringGridPrintJob>("TStringGridPrintJob", "Vellaro::TUiStringGridPrintJob", false),
        UiClass<TUiDBGridPrintJob>("TDBGridPrintJob", "Vellaro::TUiDBGridPrintJob", false),
        UiClass<TUiListViewPrintJob>("TListViewPrintJob", "Vellaro::TUiListViewPrintJob", false),
        UiClass<TUiStringsPrintJob>("TStringsPrintJob", "Vellaro::TUiStringsPrintJob", false),
        UiClass<TUiRichEditPrintJob>("TRichEditPrintJob", "Vellaro::TUiRichEditPrintJob", false),
        UiClass<TUiMultiPrintJob>("TMultiPrintJob", "Vellaro::TUiMultiPrintJob", false, {"PrintJobs"}),
        UiClass<TUiDraftPrintJob>("TDraftPrintJob", "Vellaro::TUiDraftPrintJob", false, {"PrintJob"}),
    };
    return classes;
}

} // namespace

const TUiClass* FindUiClass(const QString& ComponentClass)
{
    const auto& classes = UiClasses();
    const auto it = std::find_if(classes.begin(), classes.end(),
        [&](const TUiClass& c) { return c.ComponentClass.compare(ComponentClass, Qt::CaseInsensitive) == 0; });
    return it == classes.end() ? nullptr : &*it;
}

QString UiHeader()
{
    return QStringLiteral("design/UiComponents.h");
}

} // namespace Vellaro
