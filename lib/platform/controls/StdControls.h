#pragma once
// Small standard controls: a flat speed button with a glyph, an editable combo box with the
// framework's overridable handlers, an autosizing label, and a status bar made of parts.

#include "platform/controls/Controls.h"

#include <QComboBox>
#include <QLabel>
#include <QToolButton>
#include <QStringList>
#include <vector>

class QSizeGrip;

namespace Vellaro {

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

private:
    void AdjustBounds();
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

} // namespace Vellaro
