#include "platform/controls/StdControls.h"

#include "platform/core/Application.h"
#include "platform/core/ClassRegistry.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QSizeGrip>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextDocument>
#include <utility>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TLabel)
VELLARO_REGISTER_CLASS(TPanel)
VELLARO_REGISTER_CLASS(TGroupBox)
VELLARO_REGISTER_CLASS(TComboBox)
VELLARO_REGISTER_CLASS(TListBox)
VELLARO_REGISTER_CLASS(TCheckBox)
VELLARO_REGISTER_CLASS(TEdit)
VELLARO_REGISTER_CLASS(TMemo)

// ---- TSpeedButton -------------------------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* AOwner, QWidget* parent) : QToolButton(parent), TWinControl(AOwner)
{
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setIconSize(QSize(16, 16));
    connect(this, &QToolButton::clicked, this, [this] { GuardEvent([this] { if (FOnClick) FOnClick(this); }); });
}

TSpeedButton::~TSpeedButton()
{
    DestroyComponent();
}

void TSpeedButton::SetGlyph(const TBitmap* value)
{
    if (value == &FGlyph)
        return;
    if (value)
        FGlyph.Assign(*value);
    else
        FGlyph.SetSize(0, 0);
    GlyphChanged();
}

void TSpeedButton::GlyphChanged()
{
    if (FGlyph.Empty() || FGlyph.Width() == 0) {
        setIcon(QIcon());
        return;
    }
    // The lower left pixel's colour is the background: make it transparent.
    QImage image = FGlyph.Image().convertToFormat(QImage::Format_ARGB32);
    const QRgb background = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (background & 0xFFFFFF))
                line[x] = 0;
    }
    setIcon(QIcon(QPixmap::fromImage(image)));
    setIconSize(image.size());
}

void TSpeedButton::Click()
{
    if (isEnabled())
        click();
}

// ---- TCustomComboBox ----------------------------------------------------------------------

TCustomComboBox::TCustomComboBox(TComponent* AOwner, QWidget* parent) : QComboBox(parent), TWinControl(AOwner)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QComboBox::activated, this, [this](int) { GuardEvent([this] { Click(); }); });
}

TCustomComboBox::~TCustomComboBox()
{
    DestroyComponent();
}

void TCustomComboBox::SetText(const QString& value)
{
    setEditText(value);
    if (lineEdit())
        lineEdit()->setCursorPosition(0);
}

QString TCustomComboBox::ItemsText() const
{
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items << itemText(i);
    return items.join(QStringLiteral("\r\n"));
}

void TCustomComboBox::SetItemsText(const QString& value)
{
    const QString text = currentText();
    QStringList items = value.split(QStringLiteral("\r\n"));
    if (!items.isEmpty() && items.last().isEmpty())
        items.removeLast();
    clear();
    addItems(items);
    setEditText(text);
}

void TCustomComboBox::SelectItem(int index)
{
    setCurrentIndex(index);
    emit activated(index);
}

void TCustomComboBox::DoExit()
{
    if (FOnExit)
        FOnExit(this);
}

void TCustomComboBox::showPopup()
{
    GuardEvent([this] { DropDown(); });
    QComboBox::showPopup();
}

void TCustomComboBox::keyPressEvent(QKeyEvent* event)
{
    bool swallowed = false;
    GuardEvent([&] {
        int key = VirtualKey(event->key());
        if (key != 0) {
            KeyDown(key, event->modifiers());
            swallowed = key == 0;
        }
        const QString text = event->text();
        if (!swallowed && text.size() == 1 && (text[0].isPrint() || text[0] == QChar(8))) {
            QChar c = text[0];
            KeyPress(c);
            swallowed = c.isNull();
        }
    });
    if (swallowed) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TCustomComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // Opening the list takes the focus for a moment; that is no exit.
    if (event->reason() != Qt::PopupFocusReason)
        GuardEvent([this] { DoExit(); });
}

// ---- TCustomLabel -------------------------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent* AOwner, QWidget* parent) : QLabel(parent), TWinControl(AOwner)
{
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(false);
}

TCustomLabel::~TCustomLabel()
{
    DestroyComponent();
}

void TCustomLabel::SetCaption(const QString& value)
{
    setText(value);
    AdjustBounds();
}

void TCustomLabel::SetAutoSize(bool value)
{
    FAutoSize = value;
    AdjustBounds();
}

void TCustomLabel::AdjustBounds()
{
    if (!FAutoSize)
        return;
    if (wordWrap()) { // a wrapped caption keeps the width and takes the height its lines need
        SetBounds(Left(), Top(), Width(), heightForWidth(Width()));
        return;
    }
    const QSize hint = sizeHint();
    SetBounds(Left(), Top(), hint.width(), hint.height());
}

// ---- TStatusBarControl --------------------------------------------------------------------

TStatusBarControl::TStatusBarControl(TComponent* AOwner, QWidget* parent) : QWidget(parent), TWinControl(AOwner)
{
    InitWidget();
}

TStatusBarControl::~TStatusBarControl()
{
    DestroyComponent();
}

void TStatusBarControl::SetParts(const std::vector<int>& rightEdges)
{
    FRights = rightEdges;
    while (FTexts.size() < qsizetype(FRights.size()))
        FTexts << QString();
    while (FTexts.size() > qsizetype(FRights.size()))
        FTexts.removeLast();
    update();
}

void TStatusBarControl::SetPartText(int index, const QString& text)
{
    if (index < 0 || index >= PartCount())
        return;
    FTexts[index] = text;
    update();
}

void TStatusBarControl::RecreateWithSizeGrip(bool sizeGrip)
{
    delete FSizeGrip;
    FSizeGrip = nullptr;
    if (sizeGrip) {
        FSizeGrip = new QSizeGrip(this);
        FSizeGrip->show();
        PlaceSizeGrip();
    }
    update();
}

void TStatusBarControl::PlaceSizeGrip()
{
    if (!FSizeGrip)
        return;
    const QSize hint = FSizeGrip->sizeHint();
    FSizeGrip->setGeometry(width() - hint.width(), height() - hint.height(), hint.width(), hint.height());
}

void TStatusBarControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceSizeGrip();
}

void TStatusBarControl::paintEvent(QPaintEvent*)
{
    const TPaintScope painting;
    GuardEvent([this] {
        QPainter painter(this);
        const int gripWidth = FSizeGrip ? FSizeGrip->width() : 0;
        int left = 0;
        for (int i = 0; i < PartCount(); ++i) {
            int right = FRights[size_t(i)] < 0 ? width() : FRights[size_t(i)];
            right = std::min(right, width() - (i == PartCount() - 1 ? gripWidth : 0));
            const QRect part(left, 2, std::max(0, right - left - 2), height() - 2);
            // A sunken part: dark top and left edges, light bottom and right ones.
            painter.setPen(palette().color(QPalette::Dark));
            painter.drawLine(part.topLeft(), part.topRight());
            painter.drawLine(part.topLeft(), part.bottomLeft());
            painter.setPen(palette().color(QPalette::Light));
            painter.drawLine(part.bottomLeft(), part.bottomRight());
            painter.drawLine(part.topRight(), part.bottomRight());
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(part.adjusted(3, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                fontMetrics().elidedText(FTexts[i], Qt::ElideRight, part.width() - 5));
            left = right;
        }
    });
}

// ---- Shared by the published controls ------------------------------------------------------

namespace {

/// The items of a combo box or a list box as a string list, kept in the control's item model.
class TItemStrings : public TStrings {
public:
    explicit TItemStrings(QAbstractItemModel* model) : FModel(model) {}
    int Count() const override { return FModel->rowCount(); }

protected:
    QString Get(int Index) const override { return FModel->index(Index, 0).data(Qt::DisplayRole).toString(); }
    void Put(int Index, const QString& S) override { FModel->setData(FModel->index(Index, 0), S, Qt::DisplayRole); }
    void InsertItem(int Index, const QString& S) override
    {
        FModel->insertRow(Index);
        FModel->setData(FModel->index(Index, 0), S, Qt::DisplayRole);
    }
    void DeleteItem(int Index) override { FModel->removeRow(Index); }
    void ClearItems() override { FModel->removeRows(0, FModel->rowCount()); }

private:
    QAbstractItemModel* FModel;
};

/// Items carry their component in this role, as an address.
constexpr int ObjectRole = Qt::UserRole;

void CheckItemIndex(const TComponent* control, int index, int count, bool allowNone)
{
    if (index < (allowNone ? -1 : 0) || index >= count)
        throw EComponentError(QStringLiteral("Item index %1 of %2 is out of range; expected %3 to %4")
            .arg(index).arg(control->Name()).arg(allowNone ? -1 : 0).arg(count - 1));
}

TComponent* ItemObject(const TComponent* control, const QAbstractItemModel* model, int index)
{
    CheckItemIndex(control, index, model->rowCount(), false);
    return reinterpret_cast<TComponent*>(model->index(index, 0).data(ObjectRole).value<quintptr>());
}

/// Adds an item that carries object, which control then watches for its going away.
void AddObjectItem(TComponent* control, TStrings& items, QAbstractItemModel* model, const QString& item, TComponent* object)
{
    const int index = items.Add(item);
    model->setData(model->index(index, 0), QVariant::fromValue(reinterpret_cast<quintptr>(object)), ObjectRole);
    if (object)
        control->FreeNotification(object);
}

/// Items whose component goes away keep their text and lose the component.
void ForgetItemObject(QAbstractItemModel* model, const TComponent* object)
{
    for (int i = 0; i < model->rowCount(); ++i)
        if (model->index(i, 0).data(ObjectRole).value<quintptr>() == reinterpret_cast<quintptr>(object))
            model->setData(model->index(i, 0), QVariant(), ObjectRole);
}

enum class TKeyPressResult { Pass, Swallow, Replace };

/// Offers the character a key types (printable ones and backspace) to handler, which may
/// swallow it (Key set to QChar()) or replace it. A handler that fails swallows the key.
TKeyPressResult OfferKeyPress(QKeyEvent* event, TComponent* sender, const TKeyPressEvent& handler, QChar& key)
{
    const QString text = event->text();
    if (!handler || text.size() != 1 || !(text[0].isPrint() || text[0] == QChar(VK_BACK)))
        return TKeyPressResult::Pass;
    key = text[0];
    bool failed = true;
    GuardEvent([&] {
        handler(sender, key);
        failed = false;
    });
    if (failed || key.isNull())
        return TKeyPressResult::Swallow;
    return key == text[0] ? TKeyPressResult::Pass : TKeyPressResult::Replace;
}

/// The key code that types key (backspace, or a character without a key of its own).
int KeyCodeOf(QChar key)
{
    return key == QChar(VK_BACK) ? Qt::Key_Backspace : Qt::Key_unknown;
}

} // namespace

// ---- TLabel -------------------------------------------------------------------------------

TLabel::TLabel(TComponent* AOwner, QWidget* parent) : TCustomLabel(AOwner, parent) {}

TLabel::~TLabel()
{
    DestroyComponent();
}

TAlignment TLabel::TextAlignment() const
{
    if (Alignment() & Qt::AlignRight)
        return taRightJustify;
    if (Alignment() & Qt::AlignHCenter)
        return taCenter;
    return taLeftJustify;
}

void TLabel::SetTextAlignment(TAlignment value)
{
    SetAlignment(value == taRightJustify ? Qt::AlignRight : value == taCenter ? Qt::AlignHCenter : Qt::AlignLeft);
}

void TLabel::SetWordWrap(bool value)
{
    setWordWrap(value);
    AdjustBounds();
}

QWidget* TLabel::FocusControl() const
{
    return FFocusControl ? FFocusControl->Widget() : nullptr;
}

void TLabel::SetFocusControl(QWidget* value)
{
    auto* control = dynamic_cast<TWinControl*>(value);
    if (value && !control)
        throw EComponentError(QStringLiteral("The focus control of %1 is no control; expected an edit, list or other control").arg(Name()));
    if (control == FFocusControl)
        return;
    if (FFocusControl)
        RemoveFreeNotification(FFocusControl);
    FFocusControl = control;
    if (control)
        FreeNotification(control);
    setBuddy(value);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomLabel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) {
        FFocusControl = nullptr;
        setBuddy(nullptr);
    }
}

void TLabel::changeEvent(QEvent* event)
{
    TCustomLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        GuardEvent([this] { AdjustBounds(); });
}

// ---- TPanel / TGroupBox -------------------------------------------------------------------

TPanel::TPanel(TComponent* AOwner, QWidget* parent) : TCustomPanel(AOwner, parent) {}

TPanel::~TPanel()
{
    DestroyComponent();
}

TGroupBox::TGroupBox(TComponent* AOwner, QWidget* parent) : QGroupBox(parent), TWinControl(AOwner)
{
    InitWidget();
    SetControlStyle(ControlStyle().Include(csAcceptsControls));
}

TGroupBox::~TGroupBox()
{
    DestroyComponent();
}

// ---- TComboBox ----------------------------------------------------------------------------

TComboBox::TComboBox(TComponent* AOwner, QWidget* parent)
    : TCustomComboBox(AOwner, parent), FItems(std::make_unique<TItemStrings>(model()))
{
    WatchEditor();
}

TComboBox::~TComboBox()
{
    DestroyComponent();
}

void TComboBox::WatchEditor()
{
    // Typing in the text field is a change; setting the text from code is not.
    if (QLineEdit* editor = lineEdit())
        connect(editor, &QLineEdit::textEdited, this, [this] { GuardEvent([this] { Change(); }); });
}

void TComboBox::SetStyle(TComboBoxStyle value)
{
    if (value == Style())
        return;
    setEditable(value == csDropDown);
    if (value == csDropDown) {
        setInsertPolicy(QComboBox::NoInsert);
        WatchEditor();
    }
}

void TComboBox::AddItem(const QString& Item, TComponent* AObject)
{
    AddObjectItem(this, *FItems, model(), Item, AObject);
}

TComponent* TComboBox::Objects(int Index) const
{
    return ItemObject(this, model(), Index);
}

void TComboBox::SetItemIndex(int value)
{
    if (HasState(csLoading)) {
        FLoadedItemIndex = value;
        return;
    }
    CheckItemIndex(this, value, count(), true);
    setCurrentIndex(value);
}

void TComboBox::SetText(const QString& value)
{
    if (HasState(csLoading)) {
        FLoadedText = value;
        return;
    }
    if (Style() == csDropDownList)
        setCurrentIndex(findText(value, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    else
        TCustomComboBox::SetText(value);
}

void TComboBox::Loaded()
{
    TCustomComboBox::Loaded();
    if (FLoadedItemIndex != -1)
        SetItemIndex(std::exchange(FLoadedItemIndex, -1));
    if (!FLoadedText.isEmpty() && FLoadedText != Text())
        SetText(std::exchange(FLoadedText, QString()));
}

void TComboBox::Click()
{
    Change();
}

void TComboBox::Change()
{
    if (FOnChange)
        FOnChange(this);
}

void TComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove)
        ForgetItemObject(model(), AComponent);
}

// ---- TListBox -----------------------------------------------------------------------------

TListBox::TListBox(TComponent* AOwner, QWidget* parent)
    : QListWidget(parent), TWinControl(AOwner), FItems(std::make_unique<TItemStrings>(model()))
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (FUserInput > 0 && ItemIndex() >= 0 && FOnClick)
            GuardEvent([this] { FOnClick(this); });
    });
}

TListBox::~TListBox()
{
    DestroyComponent();
}

void TListBox::AddItem(const QString& Item, TComponent* AObject)
{
    AddObjectItem(this, *FItems, model(), Item, AObject);
}

int TListBox::ItemIndex() const
{
    // Qt makes the first item current, unselected, when the list gets the focus: only a
    // selected item is chosen.
    const QListWidgetItem* item = currentItem();
    return item && item->isSelected() ? row(item) : -1;
}

TComponent* TListBox::Objects(int Index) const
{
    return ItemObject(this, model(), Index);
}

void TListBox::SetItemIndex(int value)
{
    if (HasState(csLoading)) {
        FLoadedItemIndex = value;
        return;
    }
    CheckItemIndex(this, value, count(), true);
    setCurrentRow(value);
    if (value < 0)
        clearSelection();
}

void TListBox::Loaded()
{
    TWinControl::Loaded();
    if (FLoadedItemIndex != -1)
        SetItemIndex(std::exchange(FLoadedItemIndex, -1));
}

void TListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove)
        ForgetItemObject(model(), AComponent);
}

template<class F>
void TListBox::UserInput(F&& handler)
{
    ++FUserInput;
    struct Done { int& n; ~Done() { --n; } } done{FUserInput};
    handler();
}

void TListBox::keyPressEvent(QKeyEvent* event)
{
    UserInput([&] { QListWidget::keyPressEvent(event); });
}

void TListBox::mousePressEvent(QMouseEvent* event)
{
    UserInput([&] { QListWidget::mousePressEvent(event); });
}

void TListBox::mouseMoveEvent(QMouseEvent* event)
{
    UserInput([&] { QListWidget::mouseMoveEvent(event); });
}

void TListBox::mouseReleaseEvent(QMouseEvent* event)
{
    UserInput([&] { QListWidget::mouseReleaseEvent(event); });
}

// ---- TCheckBox ----------------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* AOwner, QWidget* parent) : QCheckBox(parent), TWinControl(AOwner)
{
    connect(this, &QCheckBox::stateChanged, this, [this] {
        if (FOnClick && !HasState(csLoading))
            GuardEvent([this] { FOnClick(this); });
    });
}

TCheckBox::~TCheckBox()
{
    DestroyComponent();
}

TCheckBoxState TCheckBox::State() const
{
    switch (checkState()) {
    case Qt::Checked: return cbChecked;
    case Qt::PartiallyChecked: return cbGrayed;
    default: return cbUnchecked;
    }
}

void TCheckBox::SetState(TCheckBoxState value)
{
    if (value == cbGrayed)
        setTristate(true);
    setCheckState(value == cbChecked ? Qt::Checked : value == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
}

// ---- TCustomEdit / TEdit ------------------------------------------------------------------

namespace {
/// Qt's own limit of a line edit, which stands for "no limit".
constexpr int UnlimitedLength = 32767;
} // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner, QWidget* parent) : QLineEdit(parent), TWinControl(AOwner)
{
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (FOnChange)
            GuardEvent([this] { FOnChange(this); });
    });
}

TCustomEdit::~TCustomEdit()
{
    DestroyComponent();
}

int TCustomEdit::MaxLength() const
{
    return maxLength() >= UnlimitedLength ? 0 : maxLength();
}

void TCustomEdit::SetMaxLength(int value)
{
    if (value < 0)
        throw EComponentError(QStringLiteral("MaxLength %1 of %2 is negative; expected 0 (no limit) or more").arg(value).arg(Name()));
    setMaxLength(value == 0 ? UnlimitedLength : value);
}

void TCustomEdit::keyPressEvent(QKeyEvent* event)
{
    QChar key;
    switch (OfferKeyPress(event, this, FOnKeyPress, key)) {
    case TKeyPressResult::Swallow:
        event->accept();
        return;
    case TKeyPressResult::Replace: {
        QKeyEvent typed(QEvent::KeyPress, KeyCodeOf(key), event->modifiers(), QString(key));
        QLineEdit::keyPressEvent(&typed);
        return;
    }
    case TKeyPressResult::Pass:
        QLineEdit::keyPressEvent(event);
    }
}

TEdit::TEdit(TComponent* AOwner, QWidget* parent) : TCustomEdit(AOwner, parent) {}

TEdit::~TEdit()
{
    DestroyComponent();
}

// ---- TMemo --------------------------------------------------------------------------------

namespace {
/// The lines of a memo: one per paragraph of its text, less a final empty one. Changes rebuild
/// the text, each line followed by a line break, so the lines read back as they were set.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(QPlainTextEdit* memo) : FMemo(memo) {}
    int Count() const override
    {
        const QTextDocument* document = FMemo->document();
        return document->blockCount() - (document->lastBlock().text().isEmpty() ? 1 : 0);
    }

protected:
    QString Get(int Index) const override { return FMemo->document()->findBlockByNumber(Index).text(); }
    void Put(int Index, const QString& S) override { Edit([&](QStringList& lines) { lines[Index] = S; }); }
    void InsertItem(int Index, const QString& S) override { Edit([&](QStringList& lines) { lines.insert(Index, S); }); }
    void DeleteItem(int Index) override { Edit([&](QStringList& lines) { lines.removeAt(Index); }); }
    void ClearItems() override { FMemo->clear(); }
    void ReplaceAll(const QStringList& lines) override
    {
        FMemo->setPlainText(lines.isEmpty() ? QString() : lines.join(u'\n') + u'\n');
    }

private:
    template<class F>
    void Edit(F&& change)
    {
        QStringList lines = ToStringList();
        change(lines);
        ReplaceAll(lines);
    }
    QPlainTextEdit* FMemo;
};
} // namespace

TMemo::TMemo(TComponent* AOwner, QWidget* parent)
    : QPlainTextEdit(parent), TWinControl(AOwner), FLines(std::make_unique<TMemoStrings>(this))
{
    setTabChangesFocus(true);
    SetScrollBars(ssNone);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (FOnChange)
            GuardEvent([this] { FOnChange(this); });
    });
}

TMemo::~TMemo()
{
    DestroyComponent();
}

void TMemo::SetWordWrap(bool value)
{
    setLineWrapMode(value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle value)
{
    FScrollBars = value;
    const bool horizontal = value == ssHorizontal || value == ssBoth;
    const bool vertical = value == ssVertical || value == ssBoth;
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TMemo::keyPressEvent(QKeyEvent* event)
{
    QChar key;
    switch (OfferKeyPress(event, this, FOnKeyPress, key)) {
    case TKeyPressResult::Swallow:
        event->accept();
        return;
    case TKeyPressResult::Replace: {
        QKeyEvent typed(QEvent::KeyPress, KeyCodeOf(key), event->modifiers(), QString(key));
        QPlainTextEdit::keyPressEvent(&typed);
        return;
    }
    case TKeyPressResult::Pass:
        QPlainTextEdit::keyPressEvent(event);
    }
}

} // namespace Vellaro
