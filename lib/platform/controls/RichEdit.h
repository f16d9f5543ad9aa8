#pragma once
// The rich text edit control on a Qt text editor, with its lines as a string list, loading
// of RTF, HTML, Markdown and plain text files, and the page formatting operation that print
// jobs use: measure how much text fits a rectangle from a position, and render a range.

#include "platform/controls/Controls.h"
#include "platform/core/Strings.h"

#include <QTextEdit>
#include <functional>
#include <memory>

class QTextDocument;

namespace Vellaro {

/// A range of character positions: cpMin up to, not including, cpMax (-1: to the end).
struct TCharRange {
    int cpMin = 0;
    int cpMax = 0;
};

/// What the formatting operation works on. Rectangles are in twips (1440 to the inch): rc is
/// where the text goes, rcPage the page it lies on. The text is laid out for hdcTarget's
/// resolution and drawn on hdc.
struct TFormatRange {
    TDeviceContext* hdc = nullptr;
    TDeviceContext* hdcTarget = nullptr;
    TRect rc;
    TRect rcPage;
    TCharRange chrg;
};

/// Twips per inch.
constexpr int TwipsPerInch = 1440;

/// The formats LoadFromFile tells apart.
enum TRichEditFileFormat { ffAuto, ffRtf, ffHtml, ffMarkdown, ffPlainText };

class TRichEditLayout;

/// A rich text editor. Character positions count every paragraph break as one character, as
/// the text of Lines joined with line breaks does.
class VELLARO_EXPORT TCustomRichEdit : public QTextEdit, public TWinControl {
    Q_OBJECT
public:
    explicit TCustomRichEdit(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TCustomRichEdit() override;
    QWidget* Widget() override { return this; }

    /// The paragraphs as a string list; editing it edits the control.
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(const TStrings* Value);
    /// The paragraphs as a plain list, for streaming.
    QStringList LinesList() const { return FLines->ToStringList(); }
    void SetLinesList(const QStringList& Value) { FLines->SetStringList(Value); }
    /// Number of characters, paragraph breaks included.
    int GetTextLen() const;
    QString Text() const { return toPlainText(); }
    void SetText(const QString& Value) { setPlainText(Value); }
    void Clear() { clear(); }
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool Value) { setReadOnly(Value); }

    /// Loads a file. With ffAuto an RTF signature or a .rtf name means RTF, .htm/.html HTML,
    /// .md/.markdown Markdown, anything else plain text (see TStrings::LoadFromFile for the
    /// encodings). Raises EFOpenError when the file cannot be read and ERtfError for an RTF
    /// file that cannot be read; the control keeps its text then.
    void LoadFromFile(const QString& FileName, TRichEditFileFormat Format = ffAuto);
    /// Writes the text with its character and paragraph formatting as RTF.
    void SaveToFile(const QString& FileName) const;

    /// The page formatting operation. With a null Range it drops what it keeps of the last
    /// devices and returns 0. Otherwise it measures (Render false): returns the position of the
    /// first character from chrg.cpMin that does not fit rc on hdcTarget, the text length when
    /// the rest fits, chrg.cpMin itself when not a line fits; or renders (Render true) the lines
    /// from chrg.cpMin up to chrg.cpMax into rc on hdc and returns chrg.cpMax. The layout for a
    /// resolution and width is kept until the text changes, so rendering one page never lays
    /// out the document again.
    int FormatRange(const TFormatRange* Range, bool Render);

    // Events.
    TNotifyEvent OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent e) { FOnChange = std::move(e); }
    TNotifyEvent OnSelectionChange() const { return FOnSelectionChange; }
    void SetOnSelectionChange(TNotifyEvent e) { FOnSelectionChange = std::move(e); }
    TKeyEvent OnKeyDown() const { return FOnKeyDown; }
    void SetOnKeyDown(TKeyEvent e) { FOnKeyDown = std::move(e); }
    TKeyPressEvent OnKeyPress() const { return FOnKeyPress; }
    void SetOnKeyPress(TKeyPressEvent e) { FOnKeyPress = std::move(e); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TRichEditLayout* LayoutFor(const TFormatRange& Range);
    void WatchDocument();

    std::unique_ptr<TStrings> FLines;
    std::unique_ptr<TRichEditLayout> FLayout;
    bool FLayoutStale = true;
    QTextDocument* FWatchedDocument = nullptr;
    TNotifyEvent FOnChange, FOnSelectionChange;
    TKeyEvent FOnKeyDown;
    TKeyPressEvent FOnKeyPress;
};

/// The rich edit with its properties published.
class VELLARO_EXPORT TRichEdit : public TCustomRichEdit {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(QStringList Lines READ LinesList WRITE SetLinesList)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(Vellaro::TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
    Q_PROPERTY(Vellaro::TNotifyEvent OnSelectionChange READ OnSelectionChange WRITE SetOnSelectionChange)
    Q_PROPERTY(Vellaro::TKeyEvent OnKeyDown READ OnKeyDown WRITE SetOnKeyDown)
    Q_PROPERTY(Vellaro::TKeyPressEvent OnKeyPress READ OnKeyPress WRITE SetOnKeyPress)
public:
    using TCustomRichEdit::TCustomRichEdit;
};

} // namespace Vellaro
