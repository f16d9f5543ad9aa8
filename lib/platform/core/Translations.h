#pragma once
// The library's user-visible texts in the application's language. English is the source
// language and the default: without InstallTranslations every text stays as written.

#include "vellaro_export.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>

namespace Vellaro {

/// The translation context of every library text.
inline constexpr const char* TranslationContext = "Vellaro";

/// Translates a library text that was marked with QT_TRANSLATE_NOOP("Vellaro", ...) where it is
/// written (tables of texts); texts written at their use call QCoreApplication::translate.
inline QString Tr(const char* SourceText)
{
    return QCoreApplication::translate(TranslationContext, SourceText);
}

/// Installs the library's translation for Locale's language (German and French are shipped),
/// and Qt's own translation of its standard dialogs when the system has it. Call it once after
/// creating the application object; a later call replaces the earlier languages. Returns false,
/// and leaves the texts English, when the library has no translation for that language.
VELLARO_EXPORT bool InstallTranslations(const QLocale& Locale = QLocale());

/// Removes what InstallTranslations installed: the texts are English again.
VELLARO_EXPORT void RemoveTranslations();

} // namespace Vellaro
