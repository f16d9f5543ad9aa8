#include "platform/controls/StdControls.h"

#include "platform/core/Application.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QSizeGrip>
#include <QStyle>
#include <QStyleOptionFrame>

namespace Vellaro {

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

} // namespace Vellaro
