// The list view control and image lists: columns and items on the tree widget, images handed
// out by index, and image list references cleared when the list goes away.
#include "platform/graphics/Canvas.h"
#include "platform/controls/ListView.h"

#include <gtest/gtest.h>

using namespace Vellaro;

TEST(ListView, ColumnsAndItemsShowInTheTreeWidget)
{
    TListView view;
    EXPECT_EQ(view.Columns().Count(), 0);
    TListColumn column = view.Columns().Add();
    column.SetCaption(QStringLiteral("Size"));
    column.SetAlignment(taCenter);
    EXPECT_EQ(view.headerItem()->text(0), QStringLiteral("Size"));
    EXPECT_EQ(view.Columns().Items(0).Alignment(), taCenter);
    EXPECT_EQ(view.Columns().Items(0).Width(), 50);
    view.Columns().Add();
    TListItem item = view.Items().Add();
    item.SetCaption(QStringLiteral("a"));
    item.SetSubItems({"1", "2", "3"});
    item.SetSubItems({"9"});
    EXPECT_EQ(view.Items().Items(0).SubItems(), QStringList{"9"});
    EXPECT_EQ(view.topLevelItem(0)->text(1), QStringLiteral("9"));
    EXPECT_EQ(view.topLevelItem(0)->text(2), QString());
    EXPECT_THROW(view.Items().Items(1), EInvalidOperation);
    EXPECT_THROW(view.Columns().Items(2), EInvalidOperation);
}

TEST(ImageList, GetBitmapCopiesAnImageOrLeavesABlankOfTheListsSize)
{
    TImageList images;
    images.SetSize(10, 12);
    TBitmap red(4, 4);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect({0, 0, 4, 4});
    EXPECT_EQ(images.Add(red), 0);
    TBitmap out;
    EXPECT_TRUE(images.GetBitmap(0, &out));
    EXPECT_EQ(out.Width(), 10);
    EXPECT_EQ(out.Height(), 12);
    EXPECT_EQ(out.Image().pixelColor(5, 6), QColor(Qt::red));
    EXPECT_FALSE(images.GetBitmap(3, &out));
    EXPECT_EQ(out.Image().pixelColor(5, 6), QColor(Qt::white));
    EXPECT_THROW(images.GetBitmap(0, nullptr), EInvalidOperation);
    EXPECT_THROW(images.Add(TBitmap()), EInvalidOperation);
}

TEST(ListView, ForgetsAnImageListThatGoesAwayButKeepsOneStillInUse)
{
    TListView view;
    auto* large = new TImageList;
    auto* shared = new TImageList;
    view.SetLargeImages(shared);
    view.SetSmallImages(shared);
    view.SetLargeImages(large); // shared is still the small list
    delete shared;
    EXPECT_EQ(view.SmallImages(), nullptr);
    EXPECT_EQ(view.LargeImages(), large);
    delete large;
    EXPECT_EQ(view.LargeImages(), nullptr);
}
