#include "platform/controls/Dialogs.h"

#include "platform/core/Application.h"
#include "platform/core/ClassRegistry.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QRegularExpression>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TOpenDialog)
VELLARO_REGISTER_CLASS(TFontDialog)

namespace {

TOpenDialog::TExecuteHook& OpenHook()
{
    static TOpenDialog::TExecuteHook hook;
    return hook;
}

TFontDialog::TExecuteHook& FontHook()
{
    static TFontDialog::TExecuteHook hook;
    return hook;
}

/// The patterns of one filter pair as Qt reads them: separated by spaces, "*.*" as "*".
QString QtPatterns(const QString& patterns)
{
    QStringList list;
    for (const QString& p : patterns.split(u';', Qt::SkipEmptyParts)) {
        const QString trimmed = p.trimmed();
        if (!trimmed.isEmpty())
            list << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
    }
    return list.join(u' ');
}

} // namespace

// ---- TOpenDialog --------------------------------------------------------------------------

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

TOpenDialog::~TOpenDialog()
{
    DestroyComponent();
}

void TOpenDialog::SetFilter(const QString& value)
{
    if (!value.isEmpty() && value.split(u'|').size() % 2 != 0)
        throw EComponentError(QStringLiteral("Filter '%1' of %2 does not pair up; expected description|patterns pairs separated by '|'")
            .arg(value, Name()));
    FFilter = value;
}

QStringList TOpenDialog::NameFilters() const
{
    QStringList filters;
    if (FFilter.isEmpty())
        return filters;
    const QStringList parts = FFilter.split(u'|');
    // Qt takes a filter's patterns from its last parentheses: a description that already
    // lists them in parentheses loses that list, and Qt's own takes its place.
    static const QRegularExpression trailingList(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        description.remove(trailingList);
        const QString patterns = QtPatterns(parts[i + 1]);
        filters << QStringLiteral("%1 (%2)").arg(description.isEmpty() ? patterns : description, patterns);
    }
    return filters;
}

void TOpenDialog::SetExecuteHook(TExecuteHook hook)
{
    OpenHook() = std::move(hook);
}

bool TOpenDialog::Execute()
{
    if (OpenHook())
        return OpenHook()(*this);
    return ExecuteQtDialog();
}

bool TOpenDialog::ExecuteQtDialog()
{
    QFileDialog dialog(QApplication::activeWindow(), FTitle.isEmpty() ? QStringLiteral("Open") : FTitle, FInitialDir);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters = NameFilters();
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (FFilterIndex >= 1 && FFilterIndex <= filters.size())
            dialog.selectNameFilter(filters[FFilterIndex - 1]);
    }
    if (!FDefaultExt.isEmpty())
        dialog.setDefaultSuffix(FDefaultExt);
    if (!FFileName.isEmpty())
        dialog.selectFile(FFileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    FFileName = dialog.selectedFiles().constFirst();
    if (const qsizetype index = filters.indexOf(dialog.selectedNameFilter()); index >= 0)
        FFilterIndex = int(index) + 1;
    return true;
}

// ---- TFontDialog --------------------------------------------------------------------------

TFontDialog::TFontDialog(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog()
{
    DestroyComponent();
}

void TFontDialog::SetFont(TFont* Value)
{
    if (Value && Value != FFont.get())
        FFont->Assign(*Value);
}

void TFontDialog::SetExecuteHook(TExecuteHook hook)
{
    FontHook() = std::move(hook);
}

bool TFontDialog::Execute()
{
    if (FontHook())
        return FontHook()(*this);
    return ExecuteQtDialog();
}

bool TFontDialog::ExecuteQtDialog()
{
    bool accepted = false;
    const QFont chosen = QFontDialog::getFont(&accepted, FFont->ToQFont(), QApplication::activeWindow());
    if (accepted)
        AssignQFont(*FFont, chosen);
    return accepted;
}

void AssignQFont(TFont& Font, const QFont& Source)
{
    Font.SetName(Source.family());
    const int pixels = Source.pixelSize() > 0 ? Source.pixelSize() : Round(Source.pointSizeF() * Font.PixelsPerInch() / 72.0);
    Font.SetHeight(-pixels);
    TFontStyles style = 0;
    if (Source.bold()) style |= fsBold;
    if (Source.italic()) style |= fsItalic;
    if (Source.underline()) style |= fsUnderline;
    if (Source.strikeOut()) style |= fsStrikeOut;
    Font.SetStyle(style);
}

} // namespace Vellaro
