// The notebook and its pages built from a form file, page selection checked against the
// pages, and the image control: where its picture goes, and its picture stored in form files.
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdControls.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"

#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Vellaro;

namespace {

const char* const NotebookForm = R"(object frmBook: TForm
  ClientHeight = 200
  ClientWidth = 300
  object ntbMain: TNotebook
    Left = 0
    Top = 0
    Width = 300
    Height = 200
    Align = alClient
    PageIndex = 2
    OnPageChanged = PageChanged
    object pgAbout: TPage
      Caption = 'About'
      object lblAbout: TLabel
        Left = 8
        Top = 8
        Caption = 'Vellaro'
      end
    end
    object pgAreas: TPage
      Caption = 'Areas'
      object pnlAreas: TPanel
        Left = 4
        Top = 4
        Width = 200
        Height = 100
        object chkHeader: TCheckBox
          Left = 8
          Top = 8
          Width = 100
          Height = 17
          Caption = 'Header'
        end
      end
    end
    object pgStrings: TPage
      Caption = 'StringsPrint'
      object memStrings: TMemo
        Left = 8
        Top = 8
        Width = 200
        Height = 100
        Lines = (
          'Hello')
      end
    end
  end
end
)";

class TBookForm : public TForm {
public:
    TBookForm()
    {
        RegisterMethod(QStringLiteral("PageChanged"), QVariant::fromValue(TNotifyEvent([this](TComponent*) { ++Changes; })));
    }
    TNotebook* Book() { return dynamic_cast<TNotebook*>(FindComponent(QStringLiteral("ntbMain"))); }
    int Changes = 0;
};

QImage Checkerboard(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, (x + y) % 2 ? qRgb(200, 30, 30) : qRgb(20, 20, 240));
    return image;
}

} // namespace

TEST(Notebook, FormFileBuildsPagesInOrderWithTheirControls)
{
    TBookForm form;
    ReadComponentText(QString::fromLatin1(NotebookForm), &form);
    TNotebook* book = form.Book();
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(book->Pages(), QStringList({QStringLiteral("About"), QStringLiteral("Areas"), QStringLiteral("StringsPrint")}));
    // PageIndex stands before the pages in the file and still selects among them.
    EXPECT_EQ(book->PageIndex(), 2);
    EXPECT_EQ(book->ActivePage(), QStringLiteral("StringsPrint"));
    EXPECT_EQ(form.Changes, 0);
    EXPECT_EQ(book->Page(0)->Name(), QStringLiteral("pgAbout"));
    auto* check = dynamic_cast<TCheckBox*>(form.FindComponent(QStringLiteral("chkHeader")));
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->GetParentComponent(), form.FindComponent(QStringLiteral("pnlAreas")));
    EXPECT_EQ(check->window(), &form);
    EXPECT_TRUE(book->Page(1)->isAncestorOf(check));
    EXPECT_EQ(book->Page(1)->Notebook(), book);

    const QString written = ComponentToText(&form);
    TBookForm again;
    ReadComponentText(written, &again);
    EXPECT_EQ(ComponentToText(&again), written);
    EXPECT_EQ(again.Book()->PageIndex(), 2);
    EXPECT_TRUE(again.Book()->Page(1)->isAncestorOf(dynamic_cast<QWidget*>(again.FindComponent(QStringLiteral("chkHeader")))));
}

TEST(Notebook, PageSelectionIsCheckedAndReportedOncePerChange)
{
    TBookForm form;
    ReadComponentText(QString::fromLatin1(NotebookForm), &form);
    TNotebook* book = form.Book();
    book->SetPageIndex(0);
    book->SetPageIndex(0);
    EXPECT_EQ(form.Changes, 1);
    book->SetActivePage(QStringLiteral("Areas"));
    EXPECT_EQ(book->PageIndex(), 1);
    EXPECT_EQ(book->currentWidget(), book->Page(1));
    EXPECT_EQ(form.Changes, 2);
    for (int bad : {-1, 3, 100})
        EXPECT_THROW(book->SetPageIndex(bad), EComponentError) << bad;
    EXPECT_THROW(book->SetActivePage(QStringLiteral("Nowhere")), EComponentError);
    EXPECT_THROW(book->Page(3), EComponentError);
    EXPECT_EQ(book->PageIndex(), 1);
    EXPECT_EQ(form.Changes, 2);

    TNotebook empty;
    EXPECT_EQ(empty.PageIndex(), -1);
    EXPECT_EQ(empty.ActivePage(), QString());
    empty.SetPageIndex(-1);
    EXPECT_THROW(empty.SetPageIndex(0), EComponentError);
}

TEST(Notebook, PagesComeAndGoInCode)
{
    TForm form;
    auto* book = new TNotebook(&form);
    book->SetParent(&form);
    TPage* first = book->AddPage(QStringLiteral("One"));
    TPage* second = book->AddPage(QStringLiteral("Two"));
    EXPECT_EQ(first->Owner(), &form);
    EXPECT_EQ(book->PageIndex(), 0);
    book->SetPageIndex(1);
    delete second; // its owner and its notebook both let it go
    EXPECT_EQ(book->Pages(), QStringList{QStringLiteral("One")});
    EXPECT_EQ(book->PageIndex(), 0);
    EXPECT_EQ(form.ComponentCount(), 2);
    delete book; // the remaining page goes with its notebook's widget
    EXPECT_EQ(form.ComponentCount(), 0);
}

TEST(Notebook, APageOutsideANotebookDoesNotRead)
{
    TForm form;
    const QString text = QStringLiteral("object f: TForm\n  object p: TPanel\n    object pg: TPage\n    end\n  end\nend\n");
    try {
        ReadComponentText(text, &form);
        FAIL() << "read a page in a panel";
    } catch (const EReadError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("not in a notebook"))) << e.Message().toStdString();
    }
    EXPECT_EQ(form.ComponentCount(), 0);
}

TEST(Image, PicturePlacementFollowsCenterStretchAndProportional)
{
    TImage image;
    image.resize(100, 50);
    const struct {
        const char* Name;
        QSize Picture;
        bool Center, Stretch, Proportional;
        TRect Expected;
    } cases[] = {
        {"own size at the top left", {40, 20}, false, false, false, {0, 0, 40, 20}},
        {"own size centred", {40, 20}, true, false, false, {30, 15, 70, 35}},
        {"larger than the control, clipped", {300, 100}, false, false, false, {0, 0, 300, 100}},
        {"stretched to the control", {40, 20}, false, true, false, {0, 0, 100, 50}},
        {"stretched keeping proportions, wide", {40, 10}, false, true, true, {0, 0, 100, 25}},
        {"stretched keeping proportions, tall, centred", {10, 40}, true, true, true, {44, 0, 56, 50}},
        {"proportional shrinks a large picture", {200, 200}, true, false, true, {25, 0, 75, 50}},
        {"proportional leaves a small picture", {20, 10}, false, false, true, {0, 0, 20, 10}},
    };
    for (const auto& c : cases) {
        image.Picture()->SetImage(Checkerboard(c.Picture.width(), c.Picture.height()));
        image.SetCenter(c.Center);
        image.SetStretch(c.Stretch);
        image.SetProportional(c.Proportional);
        const TRect r = image.DestRect();
        EXPECT_EQ(r, c.Expected) << c.Name << ": " << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
    }
}

TEST(Image, PaintsThePictureWhereItBelongsAndLeavesOutTheTransparentColour)
{
    TForm form;
    form.SetColor(clWhite);
    TImage image(&form);
    image.SetParent(&form);
    image.SetBounds(0, 0, 40, 40);
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(qRgb(0, 255, 0)); // the lower left pixel's colour: transparent when asked
    picture.setPixel(5, 5, qRgb(255, 0, 0));
    image.Picture()->SetImage(picture);
    image.SetCenter(true);
    QImage shot = form.grab(QRect(0, 0, 40, 40)).toImage();
    EXPECT_EQ(QColor(shot.pixel(20, 20)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(shot.pixel(16, 16)), QColor(0, 255, 0));
    EXPECT_EQ(QColor(shot.pixel(5, 5)), QColor(Qt::white));
    image.SetTransparent(true);
    shot = form.grab(QRect(0, 0, 40, 40)).toImage();
    EXPECT_EQ(QColor(shot.pixel(20, 20)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(shot.pixel(16, 16)), QColor(Qt::white));
}

TEST(Image, PictureDataRoundTripsThroughTheFormFile)
{
    TForm form;
    form.SetName(QStringLiteral("frmPic"));
    auto* image = new TImage(&form);
    image->SetName(QStringLiteral("imgLogo"));
    image->SetParent(&form);
    image->SetStretch(true);
    const QImage picture = Checkerboard(7, 5);
    image->Picture()->SetImage(picture);
    const QString written = ComponentToText(&form);
    EXPECT_TRUE(written.contains(QStringLiteral("Picture.Data = {")));

    TForm again;
    ReadComponentText(written, &again);
    auto* read = dynamic_cast<TImage*>(again.FindComponent(QStringLiteral("imgLogo")));
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->Stretch());
    EXPECT_EQ(read->Picture()->Image().convertToFormat(QImage::Format_RGB32), picture);

    // An empty picture writes nothing and reads back empty.
    image->Picture()->Assign(static_cast<const TPicture*>(nullptr));
    EXPECT_FALSE(ComponentToText(&form).contains(QStringLiteral("Picture")));

    TForm bad;
    const QString notPng = QStringLiteral("object f: TForm\n  object i: TImage\n    Picture.Data = {00112233}\n  end\nend\n");
    EXPECT_THROW(ReadComponentText(notPng, &bad), EReadError);
}

TEST(Image, PictureTakesAnIconsLargestPictureAndRefusesFilesWithoutOne)
{
    QPixmap small(16, 16), large(48, 48);
    small.fill(Qt::red);
    large.fill(Qt::blue);
    QIcon qicon;
    qicon.addPixmap(small);
    qicon.addPixmap(large);
    TIcon icon;
    icon.SetIcon(qicon);
    TPicture picture;
    picture.Assign(icon);
    EXPECT_EQ(picture.Width(), 48);
    EXPECT_EQ(QColor(picture.Image().pixel(0, 0)), QColor(Qt::blue));

    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("not-a-picture.png"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("hello");
    file.close();
    EXPECT_THROW(picture.LoadFromFile(text), EInvalidGraphic);
    EXPECT_EQ(picture.Width(), 48); // unchanged
    const QString png = dir.filePath(QStringLiteral("board.png"));
    ASSERT_TRUE(Checkerboard(3, 4).save(png));
    picture.LoadFromFile(png);
    EXPECT_EQ(picture.Image().size(), QSize(3, 4));
}
