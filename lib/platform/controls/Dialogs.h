#pragma once
// The common dialogs a program opens from its controls: choosing a file to open and choosing a
// font. Tests and headless programs answer them through a hook instead of showing a window.

#include "platform/core/Component.h"
#include "platform/graphics/Graphics.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

namespace Vellaro {

/// Asks the user for an existing file. Filter lists description and pattern pairs separated by
/// '|' ("Text files (*.txt)|*.txt|Any files (*.*)|*.*"; patterns of one pair separated by
/// ';'); FilterIndex counts them from 1. A name chosen without an extension gets DefaultExt.
class VELLARO_EXPORT TOpenDialog : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(QString DefaultExt READ DefaultExt WRITE SetDefaultExt)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(int FilterIndex READ FilterIndex WRITE SetFilterIndex)
    Q_PROPERTY(QString InitialDir READ InitialDir WRITE SetInitialDir)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
public:
    using TExecuteHook = std::function<bool(TOpenDialog& Dialog)>;
    explicit TOpenDialog(TComponent* AOwner = nullptr);
    ~TOpenDialog() override;

    QString DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const QString& value) { FDefaultExt = value; }
    QString FileName() const { return FFileName; }
    void SetFileName(const QString& value) { FFileName = value; }
    QString Filter() const { return FFilter; }
    /// Raises EComponentError for a filter whose parts do not pair up.
    void SetFilter(const QString& value);
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int value) { FFilterIndex = value; }
    QString InitialDir() const { return FInitialDir; }
    void SetInitialDir(const QString& value) { FInitialDir = value; }
    QString Title() const { return FTitle; }
    void SetTitle(const QString& value) { FTitle = value; }

    /// The filter as Qt's name filters, "Description (pattern pattern)"; "*.*" becomes "*",
    /// which is what it means here.
    QStringList NameFilters() const;
    /// Shows the dialog (or asks the hook); true when the user chose a file, which is then in
    /// FileName, with the filter chosen in FilterIndex.
    bool Execute();
    /// Answers every following Execute instead of a window (empty hook: show the dialog again).
    static void SetExecuteHook(TExecuteHook hook);

private:
    bool ExecuteQtDialog();
    QString FDefaultExt;
    QString FFileName;
    QString FFilter;
    int FFilterIndex = 1;
    QString FInitialDir;
    QString FTitle;
};

/// Asks the user for a font: family, size and style (the colour is kept).
class VELLARO_EXPORT TFontDialog : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(Vellaro::TFont* Font READ Font WRITE SetFont)
public:
    using TExecuteHook = std::function<bool(TFontDialog& Dialog)>;
    explicit TFontDialog(TComponent* AOwner = nullptr);
    ~TFontDialog() override;

    /// The dialog's own font: shown first, and the user's choice after Execute.
    TFont* Font() const { return FFont.get(); }
    /// Copies Value.
    void SetFont(TFont* Value);
    /// Shows the dialog (or asks the hook); true when the user chose a font.
    bool Execute();
    static void SetExecuteHook(TExecuteHook hook);

private:
    bool ExecuteQtDialog();
    std::unique_ptr<TFont> FFont;
};

/// Makes Font the one a Qt font stands for: family, style, and height in pixels (negative:
/// character height; from the point size at Font's own resolution when the Qt font has no
/// pixel size); the colour is kept.
VELLARO_EXPORT void AssignQFont(TFont& Font, const QFont& Source);

} // namespace Vellaro
