// The published properties of the preview classes, in the order form files store them, and
// their initial values as the meta-object system reads them.
#include "preview/VLCombo.h"
#include "preview/VLLabel.h"
#include "preview/VLStatusBar.h"
#include "preview/VLToolbar.h"
#include "preview/VLWindow.h"

#include <QMetaProperty>
#include <gtest/gtest.h>

using namespace Vellaro;

namespace {
QStringList OwnProperties(const QMetaObject& meta)
{
    QStringList names;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        names << QString::fromLatin1(meta.property(i).name());
    return names;
}
} // namespace

TEST(PreviewProperties, PublishedInStreamingOrder)
{
    struct Case { const QMetaObject* meta; QString list; };
    const Case cases[] = {
        {&TPreview::staticMetaObject, QStringLiteral("Name Tag PrintJob BorderStyle Cursor Ctl3D ParentCtl3D ViewMode ViewScale "
            "MarginsVisible MarginsFill MarginsBorder PageIndex ScrollTracking DragScroll OnUpdate OnPageChanged Align TabStop "
            "TabOrder Visible OnEnter OnExit OnKeyDown OnKeyPress OnKeyUp")},
        {&TPreviewComboBox::staticMetaObject, QStringLiteral("Name Tag Preview Color Ctl3D Font ParentColor ParentCtl3D ParentFont "
            "ParentShowHint PopupMenu ShowHint TabOrder Visible OnUpdate")},
        {&TPreviewToolbar::staticMetaObject, QStringLiteral("Name Tag Preview Buttons Flat ScaleBox ScaleBoxPos UserButtonEnabled "
            "UserButtonGlyph UserButtonHint OnUpdate OnUserButtonClick Align ParentShowHint ShowHint Visible")},
        {&TPreviewStatusBar::staticMetaObject, QStringLiteral("Name Tag Preview Panels PagePanelWidth ScalePanelWidth UserText SizeGrip "
            "Font ParentFont ParentShowHint PopupMenu ShowHint Visible OnUpdate")},
        {&TPreviewLabel::staticMetaObject, QStringLiteral("Name Tag Preview Mode Align Alignment AutoSize Color Font Layout ParentColor "
            "ParentFont ParentShowHint PopupMenu ShowHint Transparent Visible OnUpdate")},
        {&TPreviewWindow::staticMetaObject, QStringLiteral("Name Tag PrintJob BorderIcons BorderStyle Caption Ctl3D Font Icon Position "
            "WindowState Left Top Width Height MarginsBorder MarginsFill MarginsVisible PageIndex DragScroll ScrollTracking ViewMode "
            "ViewScale Buttons Flat ScaleBox ScaleBoxPos ShowHint UserButtonEnabled UserButtonGlyph UserButtonHint PagePanelWidth "
            "Panels ScalePanelWidth UserText SizeGrip OnCreate OnDestroy OnShow OnClose OnUpdate OnPageChanged OnUserButtonClick")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OwnProperties(*c.meta).join(QLatin1Char(' ')).toStdString(), c.list.toStdString()) << c.meta->className();
}

TEST(PreviewProperties, InitialValuesReadThroughTheMetaObject)
{
    TPreviewWindow window;
    EXPECT_EQ(window.property("Width").toInt(), 400);
    EXPECT_EQ(window.property("Height").toInt(), 500);
    EXPECT_EQ(window.property("Buttons").value<TButtons>().Bits(), 0x67Du);
    EXPECT_EQ(window.property("ScaleBoxPos").value<TButtonKind>(), btnZoomOut);
    EXPECT_EQ(window.property("MarginsFill").toUInt(), 0xC0C0C0u);
    EXPECT_EQ(window.property("Panels").value<TPanels>(), (TPanels{pnPage, pnScale}));
    TPreview pane;
    EXPECT_EQ(pane.property("ViewMode").value<TViewMode>(), vmWholePage);
    EXPECT_EQ(pane.property("MarginsBorder").toUInt(), 0x808080u);
    EXPECT_TRUE(pane.property("TabStop").toBool());
    EXPECT_TRUE(pane.setProperty("PageIndex", 4));
    EXPECT_EQ(pane.PageIndex(), 1); // no job: always page 1
    EXPECT_EQ(QString::fromLatin1(pane.metaObject()->property(pane.metaObject()->indexOfProperty("ViewMode")).enumerator().valueToKey(vmCustom)),
        QStringLiteral("vmCustom"));
    TPreviewLabel label;
    EXPECT_EQ(label.property("Mode").value<TMode>(), lmPage);
    EXPECT_TRUE(label.property("AutoSize").toBool());
}
