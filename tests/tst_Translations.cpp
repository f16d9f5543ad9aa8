// The library's texts in the application's language: German and French are shipped, English is
// the default and stays exactly as written when no translation (or an unknown one) is installed.
#include "multijobs/PJMultiAdd.h"
#include "multijobs/PJMultiEditor.h"
#include "platform/controls/Buttons.h"
#include "platform/core/Translations.h"
#include "preview/VLProgress.h"
#include "preview/VLToolbar.h"

#include "PreviewFixture.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QThread>

using namespace Vellaro;

namespace {

/// The zoom box's list of entries, which only the box itself reads.
struct TScaleList : TPreviewComboBox {
    using TCustomPreviewComboBox::GetScales;
};

class TranslationTest : public Testing::PreviewFixture {
protected:
    void TearDown() override
    {
        RemoveTranslations();
        PreviewFixture::TearDown();
    }
    /// The texts a user reads first: two toolbar hints, the zoom box's hint and first entry,
    /// the pane's page and scale texts (what the status bar and label show), a progress line.
    QStringList VisibleTexts()
    {
        TPreviewToolbar bar;
        bar.SetPreview(Pane.get());
        Pane->SetViewMode(vmWholePage);
        return {bar.SpeedButton(btnPrint)->Hint(), bar.SpeedButton(btnNextPage)->Hint(),
            bar.ScaleCombo()->Hint(), TScaleList::GetScales().section(QStringLiteral("\r\n"), 0, 0),
            Pane->GetPageText(), Pane->GetScaleText().section(QStringLiteral(" ("), 0, 0),
            TPrintProgress::ProgressText(3, 1, 40)};
    }
};

} // namespace

TEST_F(TranslationTest, EachLanguageShowsItsOwnTextsAndEnglishComesBackUnchanged)
{
    const QStringList english{QStringLiteral("Print"), QStringLiteral("Next page"), QStringLiteral("View mode and scale"),
        QStringLiteral("Whole page"), QStringLiteral("Page 1 from 5"), QStringLiteral("Whole page"),
        QStringLiteral("Printing page 3 of 40")};
    EXPECT_EQ(VisibleTexts(), english);

    ASSERT_TRUE(InstallTranslations(QLocale(QLocale::German, QLocale::Germany)));
    EXPECT_EQ(VisibleTexts(), (QStringList{QStringLiteral("Drucken"), QStringLiteral("Nächste Seite"),
                                  QStringLiteral("Ansicht und Zoom"), QStringLiteral("Ganze Seite"),
                                  QStringLiteral("Seite 1 von 5"), QStringLiteral("Ganze Seite"),
                                  QStringLiteral("Drucke Seite 3 von 40")}));

    // A second call replaces the first language.
    ASSERT_TRUE(InstallTranslations(QLocale(QLocale::French, QLocale::Canada)));
    EXPECT_EQ(VisibleTexts(), (QStringList{QStringLiteral("Imprimer"), QStringLiteral("Page suivante"),
                                  QStringLiteral("Affichage et zoom"), QStringLiteral("Page entière"),
                                  QStringLiteral("Page 1 sur 5"), QStringLiteral("Page entière"),
                                  QStringLiteral("Impression de la page 3 sur 40")}));

    RemoveTranslations();
    EXPECT_EQ(VisibleTexts(), english);

    // A language the library does not ship leaves every text English.
    EXPECT_FALSE(InstallTranslations(QLocale(QLocale::Japanese, QLocale::Japan)));
    EXPECT_EQ(VisibleTexts(), english);
}

TEST_F(TranslationTest, TheProgressDialogOfALongRunSpeaksGerman)
{
    ASSERT_TRUE(InstallTranslations(QLocale(QLocale::German, QLocale::Austria)));
    TPreviewToolbar bar;
    bar.SetPreview(Pane.get());
    Job->SetPageCount(40);
    Job->SetOnDraw([](TComponent*, TCanvas*, int, TRect, TDrawArea, TDrawTarget target) {
        if (target == dtPrint)
            QThread::msleep(60);
    });
    QString label, cancelText;
    Job->SetOnPrintProgress([&](TComponent*, int, int, int) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QProgressDialog*>(w);
            if (!dialog || !dialog->isVisible() || !label.isEmpty())
                continue;
            label = dialog->labelText();
            auto* cancel = dialog->findChild<QPushButton*>();
            ASSERT_NE(cancel, nullptr);
            cancelText = cancel->text();
            cancel->click();
        }
    });
    bar.ButtonClick(btnPrint);
    EXPECT_TRUE(label.startsWith(QStringLiteral("Drucke Seite "))) << label.toStdString();
    EXPECT_TRUE(label.endsWith(QStringLiteral(" von 40"))) << label.toStdString();
    EXPECT_EQ(cancelText, QStringLiteral("Abbrechen"));
}

TEST_F(TranslationTest, TheJobListDialogsSpeakFrenchAndTheirFormFilesStayEnglish)
{
    ASSERT_TRUE(InstallTranslations(QLocale(QLocale::French, QLocale::France)));
    TfrmMultiEditor editor;
    TfrmMultiAdd add;
    auto caption = [](TComponent* form, const char* name) {
        return dynamic_cast<TButton*>(form->FindComponent(QLatin1String(name)))->Caption();
    };
    EXPECT_EQ(caption(&editor, "btnAdd"), QStringLiteral("&Ajouter..."));
    EXPECT_EQ(caption(&editor, "btnMoveDown"), QStringLiteral("&Descendre"));
    EXPECT_EQ(add.Caption(), QStringLiteral("Ajouter des travaux d'impression"));
    auto* columns = dynamic_cast<TListView*>(add.FindComponent(QStringLiteral("lsvAddJobs")));
    ASSERT_NE(columns, nullptr);
    EXPECT_EQ(columns->Columns().Items(1).Caption(), QStringLiteral("Titre"));

    RemoveTranslations();
    TfrmMultiEditor english;
    EXPECT_EQ(caption(&english, "btnAdd"), QStringLiteral("&Add..."));
}
