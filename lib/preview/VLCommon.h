#pragma once
// What the preview controls share: the view modes, the zoom steps, the toolbar's button kinds
// and their hints.

#include "platform/core/Types.h"

#include <QObject>
#include <QString>
#include <array>

namespace Vellaro {

namespace VLCommonTypes {
Q_NAMESPACE_EXPORT(VELLARO_EXPORT)
/// How the preview pane sizes the page: whole page, page width, or a free scale in percent.
enum TViewMode { vmWholePage, vmPageWidth, vmCustom };
Q_ENUM_NS(TViewMode)
/// The buttons of the preview toolbar, in the order they are laid out. btnExport (Save as…
/// PDF, PNG or SVG) and btnThumbnails (the page overview on or off) came later than the
/// others and are last, so the others keep their bits.
enum TButtonKind {
    btnPrint, btnPrintDialog, btnPrinterSetupDialog, btnFirstPage, btnPrevPage, btnNextPage, btnLastPage,
    btnWholePage, btnPageWidth, btnZoomOut, btnZoomIn, btnRefresh, btnClose, btnUser, btnExport, btnThumbnails
};
Q_ENUM_NS(TButtonKind)
} // namespace VLCommonTypes
using namespace VLCommonTypes;

/// A set of toolbar buttons, bit k for kind k.
using TButtons = TSet<TButtonKind>;

/// The zoom steps in percent, rising; the first and last bound the free scale.
inline constexpr std::array<int, 11> ScaleArray{10, 25, 50, 75, 100, 150, 200, 300, 500, 700, 1000};
/// The smallest free scale in percent (10).
inline constexpr int MinScale = ScaleArray.front();
/// The largest free scale in percent (1000).
inline constexpr int MaxScale = ScaleArray.back();

/// The hints of the toolbar buttons btnPrint to btnClose.
VELLARO_EXPORT extern const std::array<QString, 13> HintArray;

} // namespace Vellaro

Q_DECLARE_METATYPE(Vellaro::TButtons)
