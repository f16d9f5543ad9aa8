#pragma once
// Standard controls: a flat speed button with a glyph, an editable combo box with the
// framework's overridable handlers, an autosizing label, a status bar made of parts; and the
// published label, panel, group box, combo box, list box, check box, edit and memo that form
// files build.

#include "platform/controls/Alignment.h"
#include "platform/controls/Controls.h"
#include "platform/core/Strings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QStringList>
#include <memory>
#include <vector>

class QSizeGrip;

namespace Vellaro {

namespace StdControlsTypes {
Q_NAMESPACE_EXPORT(VELLARO_EXPORT)
/// An editable combo box (csDropDown) or one that only offers its items (csDropDownList).
enum TComboBoxStyle { csDropDown, csDropDownList };
Q_ENUM_NS(TComboBoxStyle)
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
Q_ENUM_NS(TCheckBoxState)
/// Which scroll bars a memo shows (always, whether or not there is something to scroll).
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
Q_ENUM_NS(TScrollStyle)
} // namespace StdControlsTypes
using namespace StdControlsTypes;

/// A button that shows a glyph (the colour of its lower left pixel is transparent), raised
/// only under the mouse when Flat.
class VELLARO_EXPORT TSpeedButton : public QToolButton, public TWinControl {
    Q_OBJECT
public:
    explicit TSpeedButton(TComponent* AOwner, QWidget* parent = nullptr);
    ~TSpeedButton() override;
    QWidget* Widget() override { return this; }
    /// The button's own glyph; call GlyphChanged after drawing on it.
    TBitmap* Glyph() { return &FGlyph; }
    void SetGlyph(const TBitmap* value);
    void GlyphChanged();
    bool Flat() const { return autoRaise(); }
    void SetFlat(bool value) { setAutoRaise(value); }
    /// -1 centres the glyph.
    int Margin() const { return FMargin; }
    void SetMargin(int value) { FMargin = value; }
    TNotifyEvent OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent value) { FOnClick = std::move(value); }
    /// Presses the button from code (raises OnClick when enabled).
    void Click();

private:
    TBitmap FGlyph;
    int FMargin = -1;
    TNotifyEvent FOnClick;
};

/// An editable combo box. Descendants override DropDown, Click (an item chosen from the list),
/// KeyDown (Key set to 0 swallows it), KeyPress (Key set to 0 swallows the character) and DoExit.
class VELLARO_EXPORT TCustomComboBox : public QComboBox, public TWinControl {
    Q_OBJECT
public:
    explicit TCustomComboBox(TComponent* AOwner, QWidget* parent = nullptr);
    ~TCustomComboBox() override;
    QWidget* Widget() override { return this; }
    QString Text() const { return currentText(); }
    /// Sets the text and shows it from its start.
    void SetText(const QString& value);
    /// The items as one text, CR LF between items.
    QString ItemsText() const;
    void SetItemsText(const QString& value);
    int ItemCount() const { return count(); }
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int value) { setCurrentIndex(value); }
    int DropDownCount() const { return maxVisibleItems(); }
    void SetDropDownCount(int value) { setMaxVisibleItems(value); }
    TNotifyEvent OnExit() const { return FOnExit; }
    void SetOnExit(TNotifyEvent value) { FOnExit = std::move(value); }
    /// Chooses item index as the user does from the list: selects it and runs Click.
    void SelectItem(int index);
    /// Opens the list (runs DropDown first).
    void showPopup() override;

protected:
    virtual void DropDown() {}
    virtual void Click() {}
    virtual void KeyDown(int& Key, Qt::KeyboardModifiers Shift) { (void)Key; (void)Shift; }
    virtual void KeyPress(QChar& Key) { (void)Key; }
    virtual void DoExit();
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    TNotifyEvent FOnExit;
};

/// A label whose caption is plain text (an ampersand shows as itself); with AutoSize it takes
/// the size of its caption.
class VELLARO_EXPORT TCustomLabel : public QLabel, public TWinControl {
    Q_OBJECT
public:
    explicit TCustomLabel(TComponent* AOwner, QWidget* parent = nullptr);
    ~TCustomLabel() override;
    QWidget* Widget() override { return this; }
    QString Caption() const { return text(); }
    void SetCaption(const QString& value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value) { FShowAccelChar = value; }
    Qt::Alignment Alignment() const { return alignment() & Qt::AlignHorizontal_Mask; }
    void SetAlignment(Qt::Alignment value) { setAlignment(value | (alignment() & Qt::AlignVertical_Mask)); }
    Qt::Alignment Layout() const { return alignment() & Qt::AlignVertical_Mask; }
    void SetLayout(Qt::Alignment value) { setAlignment(value | (alignment() & Qt::AlignHorizontal_Mask)); }
    bool Transparent() const { return !autoFillBackground(); }
    void SetTransparent(bool value) { setAutoFillBackground(!value); }

protected:
    /// With AutoSize, takes the caption's size (with WordWrap: keeps the width, takes the height).
    void AdjustBounds();

private:
    bool FAutoSize = true;
    bool FShowAccelChar = true;
};

/// A status bar divided into parts with given right edges (the last part may reach -1, the
/// bar's right end), each with a sunken text, and an optional size grip at the right.
class VELLARO_EXPORT TStatusBarControl : public QWidget, public TWinControl {
    Q_OBJECT
public:
    explicit TStatusBarControl(TComponent* AOwner, QWidget* parent = nullptr);
    ~TStatusBarControl() override;
    QWidget* Widget() override { return this; }
    /// Sets the parts by their right edges in pixels from the bar's left; texts beyond the new
    /// count go away.
    void SetParts(const std::vector<int>& rightEdges);
    void SetPartText(int index, const QString& text);
    int PartCount() const { return int(FRights.size()); }
    int PartRight(int index) const { return FRights.at(size_t(index)); }
    QString PartText(int index) const { return FTexts.at(size_t(index)); }
    bool HasSizeGrip() const { return FSizeGrip != nullptr; }
    /// Rebuilds the bar with or without a size grip (the grip is part of the window's style).
    void RecreateWithSizeGrip(bool sizeGrip);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceSizeGrip();
    std::vector<int> FRights;
    QStringList FTexts;
    QSizeGrip* FSizeGrip = nullptr;
};

/// A label with its published properties. FocusControl is the control that the caption's
/// accelerator key focuses; it must be a windowed control and is forgotten when it goes.
class VELLARO_EXPORT TLabel : public TCustomLabel {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(Vellaro::AlignmentTypes::TAlignment Alignment READ TextAlignment WRITE SetTextAlignment)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QWidget* FocusControl READ FocusControl WRITE SetFocusControl)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
public:
    explicit TLabel(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TLabel() override;
    TAlignment TextAlignment() const;
    void SetTextAlignment(TAlignment value);
    bool WordWrap() const { return wordWrap(); }
    void SetWordWrap(bool value);
    QWidget* FocusControl() const;
    /// Raises EComponentError for a widget that is not a windowed control.
    void SetFocusControl(QWidget* value);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void changeEvent(QEvent* event) override;

private:
    TWinControl* FFocusControl = nullptr;
};

/// A panel with its published properties.
class VELLARO_EXPORT TPanel : public TCustomPanel {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(Vellaro::ControlsTypes::TBevelCut BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(Vellaro::ControlsTypes::TBevelCut BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(Vellaro::ControlsTypes::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
public:
    explicit TPanel(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TPanel() override;
};

/// A frame with a caption around a group of controls.
class VELLARO_EXPORT TGroupBox : public QGroupBox, public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
public:
    explicit TGroupBox(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TGroupBox() override;
    QWidget* Widget() override { return this; }
    QString Caption() const { return title(); }
    void SetCaption(const QString& value) { setTitle(value); }
};

/// A combo box with its items as a string list. Each item may carry a component (AddItem),
/// which is forgotten when it goes. OnChange runs when the user edits the text or chooses an
/// item, not when code sets them.
class VELLARO_EXPORT TComboBox : public TCustomComboBox {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(Vellaro::StdControlsTypes::TComboBoxStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(QStringList Items READ ItemsList WRITE SetItemsList)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(Vellaro::TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
public:
    explicit TComboBox(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TComboBox() override;

    TComboBoxStyle Style() const { return isEditable() ? csDropDown : csDropDownList; }
    void SetStyle(TComboBoxStyle value);
    /// The items; editing the list edits the control.
    TStrings* Items() const { return FItems.get(); }
    QStringList ItemsList() const { return FItems->ToStringList(); }
    void SetItemsList(const QStringList& value) { FItems->SetStringList(value); }
    /// Adds an item that carries AObject (not owned).
    void AddItem(const QString& Item, TComponent* AObject);
    /// The component item Index carries, or nullptr; raises EComponentError outside the items.
    TComponent* Objects(int Index) const;
    int ItemIndex() const { return TCustomComboBox::ItemIndex(); }
    /// -1 clears the choice; raises EComponentError outside -1..count-1. While a form file is
    /// read, applied once the items are there.
    void SetItemIndex(int value);
    QString Text() const { return TCustomComboBox::Text(); }
    /// A drop-down list takes the item of that text (none when no item has it).
    void SetText(const QString& value);
    TNotifyEvent OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent value) { FOnChange = std::move(value); }

protected:
    void Click() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void WatchEditor();
    void Change();
    std::unique_ptr<TStrings> FItems;
    TNotifyEvent FOnChange;
    int FLoadedItemIndex = -1;
    QString FLoadedText;
};

/// A list of strings to choose one from. OnClick runs when the user changes the chosen item,
/// with the mouse or the keyboard; not when code sets ItemIndex.
class VELLARO_EXPORT TListBox : public QListWidget, public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool IntegralHeight READ IntegralHeight WRITE SetIntegralHeight)
    Q_PROPERTY(QStringList Items READ ItemsList WRITE SetItemsList)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(Vellaro::TNotifyEvent OnClick READ OnClick WRITE SetOnClick)
public:
    explicit TListBox(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TListBox() override;
    QWidget* Widget() override { return this; }

    /// The items; editing the list edits the control.
    TStrings* Items() const { return FItems.get(); }
    QStringList ItemsList() const { return FItems->ToStringList(); }
    void SetItemsList(const QStringList& value) { FItems->SetStringList(value); }
    /// Adds an item that carries AObject (not owned).
    void AddItem(const QString& Item, TComponent* AObject);
    /// The component item Index carries, or nullptr; raises EComponentError outside the items.
    TComponent* Objects(int Index) const;
    int ItemIndex() const { return currentRow(); }
    /// -1 clears the choice; raises EComponentError outside -1..count-1. While a form file is
    /// read, applied once the items are there.
    void SetItemIndex(int value);
    /// Stored for form files; rows here scroll by pixels, so a partly shown last row is normal.
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool value) { FIntegralHeight = value; }
    TNotifyEvent OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent value) { FOnClick = std::move(value); }

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    /// Runs a handler of the user's input, during which a change of the current row is a click.
    template<class F>
    void UserInput(F&& handler);
    std::unique_ptr<TStrings> FItems;
    TNotifyEvent FOnClick;
    bool FIntegralHeight = true;
    int FUserInput = 0;
    int FLoadedItemIndex = -1;
};

/// A check box. OnClick runs whenever State changes, from the user or from code (not while a
/// form file is read).
class VELLARO_EXPORT TCheckBox : public QCheckBox, public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(Vellaro::StdControlsTypes::TCheckBoxState State READ State WRITE SetState)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(Vellaro::TNotifyEvent OnClick READ OnClick WRITE SetOnClick)
public:
    explicit TCheckBox(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TCheckBox() override;
    QWidget* Widget() override { return this; }
    QString Caption() const { return text(); }
    void SetCaption(const QString& value) { setText(value); }
    bool Checked() const { return checkState() == Qt::Checked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const;
    /// cbGrayed makes the box a three-state one.
    void SetState(TCheckBoxState value);
    TNotifyEvent OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent value) { FOnClick = std::move(value); }

private:
    TNotifyEvent FOnClick;
};

/// A one-line text edit. OnChange runs after every change of Text (also from code);
/// OnKeyPress sees each typed character first and may swallow it (set Key to QChar()) or
/// replace it.
class VELLARO_EXPORT TCustomEdit : public QLineEdit, public TWinControl {
    Q_OBJECT
public:
    explicit TCustomEdit(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TCustomEdit() override;
    QWidget* Widget() override { return this; }
    QString Text() const { return text(); }
    void SetText(const QString& value) { setText(value); }
    /// 0: no limit.
    int MaxLength() const;
    /// Raises EComponentError for a negative length.
    void SetMaxLength(int value);
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool value) { setReadOnly(value); }
    TNotifyEvent OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent value) { FOnChange = std::move(value); }
    TKeyPressEvent OnKeyPress() const { return FOnKeyPress; }
    void SetOnKeyPress(TKeyPressEvent value) { FOnKeyPress = std::move(value); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TNotifyEvent FOnChange;
    TKeyPressEvent FOnKeyPress;
};

/// The edit with its published properties.
class VELLARO_EXPORT TEdit : public TCustomEdit {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(Vellaro::TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
    Q_PROPERTY(Vellaro::TKeyPressEvent OnKeyPress READ OnKeyPress WRITE SetOnKeyPress)
public:
    explicit TEdit(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TEdit() override;
};

/// A plain text editor of several lines, with its lines as a string list. A final empty line
/// is not counted (text that ends in a line break has as many lines as breaks).
class VELLARO_EXPORT TMemo : public QPlainTextEdit, public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(QStringList Lines READ LinesList WRITE SetLinesList)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(Vellaro::StdControlsTypes::TScrollStyle ScrollBars READ ScrollBars WRITE SetScrollBars)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(Vellaro::TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
    Q_PROPERTY(Vellaro::TKeyPressEvent OnKeyPress READ OnKeyPress WRITE SetOnKeyPress)
public:
    explicit TMemo(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TMemo() override;
    QWidget* Widget() override { return this; }

    /// The lines; editing the list edits the control.
    TStrings* Lines() const { return FLines.get(); }
    QStringList LinesList() const { return FLines->ToStringList(); }
    void SetLinesList(const QStringList& value) { FLines->SetStringList(value); }
    QString Text() const { return toPlainText(); }
    void SetText(const QString& value) { setPlainText(value); }
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool value) { setReadOnly(value); }
    bool WordWrap() const { return lineWrapMode() != QPlainTextEdit::NoWrap; }
    void SetWordWrap(bool value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    TNotifyEvent OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent value) { FOnChange = std::move(value); }
    TKeyPressEvent OnKeyPress() const { return FOnKeyPress; }
    void SetOnKeyPress(TKeyPressEvent value) { FOnKeyPress = std::move(value); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<TStrings> FLines;
    TScrollStyle FScrollBars = ssNone;
    TNotifyEvent FOnChange;
    TKeyPressEvent FOnKeyPress;
};

} // namespace Vellaro
