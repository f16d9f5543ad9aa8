#include "platform/core/Translations.h"

#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace Vellaro {

namespace {

struct TInstalledTranslations {
    std::unique_ptr<QTranslator> Library;
    std::unique_ptr<QTranslator> Qt;
};

TInstalledTranslations& Installed()
{
    static TInstalledTranslations installed;
    return installed;
}

/// A translator loaded from Folder for Locale, or none.
std::unique_ptr<QTranslator> Load(const QLocale& Locale, const QString& Name, const QString& Folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(Locale, Name, QStringLiteral("_"), Folder))
        return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

} // namespace

void RemoveTranslations()
{
    TInstalledTranslations& installed = Installed();
    for (auto* translator : {&installed.Library, &installed.Qt}) {
        if (*translator && QCoreApplication::instance())
            QCoreApplication::removeTranslator(translator->get());
        translator->reset();
    }
}

bool InstallTranslations(const QLocale& Locale)
{
    RemoveTranslations();
    if (!QCoreApplication::instance())
        return false;
    TInstalledTranslations& installed = Installed();
    installed.Library = Load(Locale, QStringLiteral("vellaro"), QStringLiteral(":/vellaro/translations"));
    if (!installed.Library)
        return false;
    // The print dialog and the standard buttons are Qt's; Debian ships their translations in
    // qt6-translations-l10n.
    installed.Qt = Load(Locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return true;
}

} // namespace Vellaro
