#pragma once
// The library's components as widgets of Qt Designer forms (.ui files compiled with uic).
//
// The preview controls are placed as themselves: TUiPreview is a TPreview, TUiPreviewToolbar a
// TPreviewToolbar, and so on; they add the constructor uic calls (parent widget only) and name
// the components they refer to (a pane's PrintJob, a companion's Preview) by object name on the
// form. Non-visual components (the print jobs and the preview window) sit on the form as a
// small host widget that owns the component: it shows the component's picture and name while
// the form is designed and is hidden at run time. Designer stores the component's properties
// on the host; the host hands them on to the component.
//
// References are object names, resolved on the form (the widget marked as a form root, else
// the topmost ancestor): at once when the named object is already there, else as soon as an
// object of that name appears on the form. Every hosted component of one form has the same
// owner (a root component named after the form), so a multi job's editor offers the form's
// other jobs.

#include "gridjobs/PJDBGrid.h"
#include "gridjobs/PJListView.h"
#include "gridjobs/PJSimpleGrid.h"
#include "gridjobs/PJSimpleTextGrid.h"
#include "gridjobs/PJStringGrid.h"
#include "job/VLJob.h"
#include "multijobs/PJDraft.h"
#include "multijobs/PJMulti.h"
#include "preview/VLCombo.h"
#include "preview/VLLabel.h"
#include "preview/VLPreview.h"
#include "preview/VLStatusBar.h"
#include "preview/VLToolbar.h"
#include "preview/VLWindow.h"
#include "textjobs/PJRichEdit.h"
#include "textjobs/PJStrings.h"

#include <QByteArray>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

namespace Vellaro {

/// The dynamic property that marks a widget as holding a form (a designer's form window): its
/// child on the way up is the form. Without one, the topmost ancestor is the form.
inline constexpr char UiFormHolderProperty[] = "VellaroFormHolder";

/// The widget whose descendants make up the form widget is on.
VELLARO_EXPORT QWidget* UiFormOf(QWidget* widget);
/// Gives every hosted component on Form the form's owner and resolves the form's references
/// (after a designer told which widget the form is).
VELLARO_EXPORT void JoinUiForm(QWidget* Form);
/// The component an object of the form stands for: a host's component, or the object itself
/// when it is a component; nullptr otherwise.
VELLARO_EXPORT TComponent* UiComponentOf(QObject* object);
/// Resolves the pending references of every object on the form of widget (they resolve by
/// themselves as objects appear; call this after renaming objects in code).
VELLARO_EXPORT void ResolveUiReferences(QWidget* widget);

/// Part of every form object that names other objects of the form.
class VELLARO_EXPORT TUiReferences {
public:
    virtual ~TUiReferences() = default;
    /// The name stored for a reference property ("" when it refers to nothing).
    QString ReferenceName(const QByteArray& Property) const;
    /// Tries to resolve the pending references against the objects of Form; with Again, the
    /// resolved ones as well.
    void ResolveReferences(QWidget* Form, bool Again = false);

    /// Whether the names of Property all found their objects (true for an unset reference).
    bool ReferenceResolved(const QByteArray& Property) const;

protected:
    /// Takes the names a resolved reference now stands under (after its objects were renamed
    /// or left the form), without applying it again.
    void RenameReference(const QByteArray& Property, const QStringList& Names);
    /// Names Names for Property of Target (looked up in Class, the target's own meta-object
    /// when null); an empty list clears the reference. Self is the form object holding it.
    void SetReference(QWidget* Self, QObject* Target, const QByteArray& Property, const QStringList& Names,
        const QMetaObject* Class = nullptr);
    /// Applies found objects to a reference; the default writes one pointer property.
    virtual void ApplyReference(QObject* Target, const QMetaObject* Class, const QByteArray& Property,
        const QList<TComponent*>& Found);

private:
    struct TPending {
        QPointer<QObject> Target;
        const QMetaObject* Class = nullptr;
        QStringList Names;
        bool Resolved = false;
    };
    QHash<QByteArray, TPending> FReferences;
};

/// A non-visual component placed on a form: owns the component, shows its palette picture and
/// name at design time, is hidden at run time, and passes the properties set on it (dynamic
/// properties, as uic sets them) on to the component.
class VELLARO_EXPORT TUiComponentHost : public QWidget, public TUiReferences {
    Q_OBJECT
public:
    ~TUiComponentHost() override;

    /// The hosted component; nullptr after it was destroyed by other means.
    TComponent* HostedComponent() const { return FComponent; }
    /// Shows the host (picture and name) and marks the component as designed, or hides it.
    void SetDesignTime(bool value);
    /// True while the host is shown as at design time (see SetDesignTime).
    bool DesignTime() const { return FDesignTime; }
    /// The properties a designer edits on the host, in the component's streaming order.
    QList<QByteArray> DesignProperties() const;
    /// Copies the component's current values into the host's properties (after an editor
    /// changed the component). Returns the names whose value changed.
    QList<QByteArray> SyncFromComponent();
    /// Makes the component one of its form's components (owned by the form's root component).
    void JoinForm();
    /// The component's current value of a design property, as the host holds it.
    QVariant DesignValue(const QByteArray& Property) const;
    /// For a multi job whose list resolved: stores the list under its jobs' current names
    /// (after a listed job was renamed or left the form).
    void SyncPrintJobs();

    /// Room for the 24 x 24 palette picture and the component's name below it.
    QSize sizeHint() const override;

protected:
    /// Takes ownership of Component, follows the host's object name as the component's Name, and hides
    /// itself.
    TUiComponentHost(TComponent* Component, QWidget* parent);
    template<class C>
    /// The hosted component as class C, or nullptr.
    C* Hosted() const { return dynamic_cast<C*>(FComponent); }

    /// Forwards a changed dynamic property to the component; joins the form when the host gets a new parent.
    bool event(QEvent* event) override;
    /// Draws the palette picture and the component's name (design time only; the host is hidden at run time).
    void paintEvent(QPaintEvent* event) override;
    /// A multi job's PrintJobs reference fills its job list with the named jobs; other references as in
    /// TUiReferences.
    void ApplyReference(QObject* Target, const QMetaObject* Class, const QByteArray& Property,
        const QList<TComponent*>& Found) override;

private:
    class TWatch;
    void Forward(const QByteArray& Property, const QVariant& Value);
    /// Leaves the form's root component when the host left the form (a designer deleting it).
    void LeaveOldForm();
    /// For a multi job: remembers where Job stood in the list as Job leaves the form.
    void NoteLeaving(TUiComponentHost* Job);
    /// For a multi job: puts Job back where it stood when it left, as Job comes back (undo).
    void TakeBack(TUiComponentHost* Job);
    /// A listed job that left the form (kept for undo) and its place in the list.
    struct TLeftJob {
        QPointer<TUiComponentHost> Job;
        int Index;
    };
    TComponent* FComponent;
    QList<TLeftJob> FLeftJobs;
    std::unique_ptr<TWatch> FWatch;
    bool FDesignTime = false;
    bool FMirroring = false;
};

// One host class per non-visual palette class; Component() is the hosted component.

/// The form host of a print job whose pages the application draws (TPrintJob).
class VELLARO_EXPORT TUiPrintJob : public TUiComponentHost {
    Q_OBJECT
public:
    /// A host with a new TPrintJob of its own, hidden until a designer shows it.
    explicit TUiPrintJob(QWidget* parent = nullptr);
    /// The hosted component, or nullptr after it was destroyed by other means.
    TPrintJob* Component() const;
};

/// The form host of a simple grid job (TSimpleGridPrintJob).
class VELLARO_EXPORT TUiSimpleGridPrintJob : public TUiComponentHost {
    Q_OBJECT
public:
    /// A host with a new TSimpleGridPrintJob of its own, hidden until a designer shows it.
    explicit TUiSimpleGridPrintJob(QWidget* parent = nullptr);
    /// The hosted component, or nullptr after it was destroyed by other means.
    TSimpleGridPrintJob* Component() const;
};

/// The form host of a simple text grid job (TSimpleTextGridPrintJob).
class VELLARO_EXPORT TUiSimpleTextGridPrintJob : public TUiComponentHost {
    Q_OBJECT
public:
    /// A host with a new TSimpleTextGridPrintJob of its own, hidden until a designer shows it.
    explicit TUiSimpleTextGridPrintJob(QWidget* parent = nullptr);
    /// The hosted component, or nullptr after it was destroyed by other means.
    TSimpleTextGridPrintJob* Component() const;
};

/// The form host of a string grid job (TStringGridPrintJob).
class VELLARO_EXPORT TUiStringGridPrintJob : public TUiComponentHost {
    Q_OBJECT
public:
    /// A host with a new TStringGridPrintJob of its own, hidden until a designer shows it.
    explicit TUiStringGridPrintJob(QWidget* parent = nullptr);
    /// The hosted component, or nullptr after it was destroyed by other means.
    TStringGridPrintJob* Component() const;
};

/// The form host of a database grid job (TDBGridPrintJob).
class VELLARO_EXPORT TUiDBGridPrintJob : public TUiComponentHost {
    Q_OBJECT
public:
    /// A host with a new TDBGridPrintJob of its own, hidden until a designer shows it.
    explicit TUiDBGridPrintJob(QWidget* parent = nullptr);
    /// The hosted component, or nullptr after it was destroyed by other means.
    TDBGridPrintJob* Component() const;
};

/// The form host of a list view job (TListViewPrintJob).
class VELLARO_EXPORT TUiListViewPrintJob : public TUiComponentHost {
    Q_OBJECT
public:
    /// A host with a new TListViewPrintJob of its own, hidden until a designer shows it.
    explicit TUiListViewPrintJob(QWidget* parent = nullptr);
    /// The hosted component, or nullptr after it was destroyed by other means.
    TListViewPrintJob* Component() const;
};

/// The form host of a strings job (TStringsPrintJob).
class VELLARO_EXPORT TUiStringsPrintJob : public TUiComponentHost {
    Q_OBJECT
public:
    /// A host with a new TStringsPrintJob of its own, hidden until a designer shows it.
    explicit TUiStringsPrintJob(QWidget* parent = nullptr);
    /// The hosted component, or nullptr after it was destroyed by other means.
    TStringsPrintJob* Component() const;
};

/// The form host of a rich edit job (TRichEditPrintJob).
class VELLARO_EXPORT TUiRichEditPrintJob : public TUiComponentHost {
    Q_OBJECT
public:
    /// A host with a new TRichEditPrintJob of its own, hidden until a designer shows it.
    explicit TUiRichEditPrintJob(QWidget* parent = nullptr);
    /// The hosted component, or nullptr after it was destroyed by other means.
    TRichEditPrintJob* Component() const;
};

/// The form host of a multi job (TMultiPrintJob); its PrintJobs property names the form's jobs.
class VELLARO_EXPORT TUiMultiPrintJob : public TUiComponentHost {
    Q_OBJECT
public:
    /// A host with a new TMultiPrintJob of its own, hidden until a designer shows it.
    explicit TUiMultiPrintJob(QWidget* parent = nullptr);
    /// The hosted component, or nullptr after it was destroyed by other means.
    TMultiPrintJob* Component() const;
};

/// The form host of a draft job (TDraftPrintJob).
class VELLARO_EXPORT TUiDraftPrintJob : public TUiComponentHost {
    Q_OBJECT
public:
    /// A host with a new TDraftPrintJob of its own, hidden until a designer shows it.
    explicit TUiDraftPrintJob(QWidget* parent = nullptr);
    /// The hosted component, or nullptr after it was destroyed by other means.
    TDraftPrintJob* Component() const;
};

/// The form host of a preview window (TPreviewWindow).
class VELLARO_EXPORT TUiPreviewWindow : public TUiComponentHost {
    Q_OBJECT
public:
    /// A host with a new TPreviewWindow of its own, hidden until a designer shows it.
    explicit TUiPreviewWindow(QWidget* parent = nullptr);
    /// The hosted component, or nullptr after it was destroyed by other means.
    TPreviewWindow* Component() const;
};

// The preview controls as form widgets: the control itself, with a constructor for uic and
// its references named by object name. Name follows the object name. Properties of kinds a
// designer cannot edit (events, bitmaps, menus) are hidden from it and set in code.

/// The preview pane as a form widget: a TPreview whose PrintJob names the job whose pages it shows by object
/// name.
class VELLARO_EXPORT TUiPreview : public TPreview, public TUiReferences {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName DESIGNABLE false)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate DESIGNABLE false)
    Q_PROPERTY(Vellaro::TNotifyEvent OnPageChanged READ OnPageChanged WRITE SetOnPageChanged DESIGNABLE false)
    Q_PROPERTY(Vellaro::TNotifyEvent OnEnter READ OnEnter WRITE SetOnEnter DESIGNABLE false)
    Q_PROPERTY(Vellaro::TNotifyEvent OnExit READ OnExit WRITE SetOnExit DESIGNABLE false)
    Q_PROPERTY(Vellaro::TKeyEvent OnKeyDown READ OnKeyDown WRITE SetOnKeyDown DESIGNABLE false)
    Q_PROPERTY(Vellaro::TKeyPressEvent OnKeyPress READ OnKeyPress WRITE SetOnKeyPress DESIGNABLE false)
    Q_PROPERTY(Vellaro::TKeyEvent OnKeyUp READ OnKeyUp WRITE SetOnKeyUp DESIGNABLE false)
    Q_PROPERTY(QString PrintJob READ PrintJobName WRITE SetPrintJobName)
public:
    /// A TPreview child of parent, as uic creates it; its Name follows its object name.
    explicit TUiPreview(QWidget* parent = nullptr);
    /// The object name PrintJob refers to; empty when it refers to nothing.
    QString PrintJobName() const { return ReferenceName("PrintJob"); }
    /// Refers PrintJob to the form object of that name, at once or as soon as it appears; empty clears it.
    void SetPrintJobName(const QString& value);
};

/// The preview toolbar as a form widget: a TPreviewToolbar whose Preview names the pane it drives by object
/// name.
class VELLARO_EXPORT TUiPreviewToolbar : public TPreviewToolbar, public TUiReferences {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName DESIGNABLE false)
    Q_PROPERTY(Vellaro::TBitmap* UserButtonGlyph READ UserButtonGlyph WRITE SetUserButtonGlyph DESIGNABLE false)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate DESIGNABLE false)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUserButtonClick READ OnUserButtonClick WRITE SetOnUserButtonClick DESIGNABLE false)
    Q_PROPERTY(QString Preview READ PreviewName WRITE SetPreviewName)
    Q_PROPERTY(QString Buttons READ ButtonsText WRITE SetButtonsText)
public:
    /// A TPreviewToolbar child of parent, as uic creates it; its Name follows its object name.
    explicit TUiPreviewToolbar(QWidget* parent = nullptr);
    /// The object name Preview refers to; empty when it refers to nothing.
    QString PreviewName() const { return ReferenceName("Preview"); }
    /// Refers Preview to the form object of that name, at once or as soon as it appears; empty clears it.
    void SetPreviewName(const QString& value);
    /// The buttons as a form file writes them, "[btnPrint, btnFirstPage]"; an unknown name
    /// leaves them as they are.
    QString ButtonsText() const;
    /// Sets the buttons from the form file's text; an unknown button name is reported as a warning and
    /// changes nothing.
    void SetButtonsText(const QString& value);
};

/// The preview status bar as a form widget: a TPreviewStatusBar whose Preview names the pane it follows by
/// object name.
class VELLARO_EXPORT TUiPreviewStatusBar : public TPreviewStatusBar, public TUiReferences {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName DESIGNABLE false)
    Q_PROPERTY(Vellaro::TPanels Panels READ Panels WRITE SetPanels DESIGNABLE false)
    Q_PROPERTY(Vellaro::TPopupMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu DESIGNABLE false)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate DESIGNABLE false)
    Q_PROPERTY(QString Preview READ PreviewName WRITE SetPreviewName)
public:
    /// A TPreviewStatusBar child of parent, as uic creates it; its Name follows its object name.
    explicit TUiPreviewStatusBar(QWidget* parent = nullptr);
    /// The object name Preview refers to; empty when it refers to nothing.
    QString PreviewName() const { return ReferenceName("Preview"); }
    /// Refers Preview to the form object of that name, at once or as soon as it appears; empty clears it.
    void SetPreviewName(const QString& value);
};

/// The zoom box as a form widget: a TPreviewComboBox whose Preview names the pane it follows by object name.
class VELLARO_EXPORT TUiPreviewComboBox : public TPreviewComboBox, public TUiReferences {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName DESIGNABLE false)
    Q_PROPERTY(Vellaro::TPopupMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu DESIGNABLE false)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate DESIGNABLE false)
    Q_PROPERTY(QString Preview READ PreviewName WRITE SetPreviewName)
public:
    /// A TPreviewComboBox child of parent, as uic creates it; its Name follows its object name.
    explicit TUiPreviewComboBox(QWidget* parent = nullptr);
    /// The object name Preview refers to; empty when it refers to nothing.
    QString PreviewName() const { return ReferenceName("Preview"); }
    /// Refers Preview to the form object of that name, at once or as soon as it appears; empty clears it.
    void SetPreviewName(const QString& value);
};

/// The preview label as a form widget: a TPreviewLabel whose Preview names the pane it follows by object
/// name.
class VELLARO_EXPORT TUiPreviewLabel : public TPreviewLabel, public TUiReferences {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName DESIGNABLE false)
    Q_PROPERTY(Vellaro::TPopupMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu DESIGNABLE false)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate DESIGNABLE false)
    Q_PROPERTY(QString Preview READ PreviewName WRITE SetPreviewName)
public:
    /// A TPreviewLabel child of parent, as uic creates it; its Name follows its object name.
    explicit TUiPreviewLabel(QWidget* parent = nullptr);
    /// The object name Preview refers to; empty when it refers to nothing.
    QString PreviewName() const { return ReferenceName("Preview"); }
    /// Refers Preview to the form object of that name, at once or as soon as it appears; empty clears it.
    void SetPreviewName(const QString& value);
};

/// What a designer needs to place a palette class on a form.
struct VELLARO_EXPORT TUiClass {
    QString ComponentClass; ///< the palette class, e.g. "TMultiPrintJob"
    QString WidgetClass;    ///< the widget class a .ui file names, e.g. "Vellaro::TUiMultiPrintJob"
    bool Visual = false;    ///< the widget is the control itself (else a host)
    QStringList References; ///< properties that name other objects of the form
    /// Creates the form widget as a child of parent.
    std::function<QWidget*(QWidget* parent)> Create;
};

/// The form widget class of a palette class, or nullptr when there is none.
VELLARO_EXPORT const TUiClass* FindUiClass(const QString& ComponentClass);
/// The header a .ui file includes for every class here.
VELLARO_EXPORT QString UiHeader();

} // namespace Vellaro
