#pragma once
// The print dialog (page range) and the printer setup dialog, acting on the global printer.
// Tests and headless programs answer them through a hook instead of showing a window.

#include "platform/core/Component.h"

#include <functional>

namespace Vellaro {

enum TPrintDialogOption : unsigned {
    poPrintToFile = 1u << 0,
    poPageNums = 1u << 1,
    poSelection = 1u << 2,
    poWarning = 1u << 3,
    poHelp = 1u << 4,
    poDisablePrintToFile = 1u << 5,
};
using TPrintDialogOptions = unsigned;

class VELLARO_EXPORT TPrintDialog : public TComponent {
public:
    using TExecuteHook = std::function<bool(TPrintDialog& dialog)>;
    explicit TPrintDialog(TComponent* AOwner = nullptr) : TComponent(AOwner) {}

    TPrintDialogOptions Options() const { return FOptions; }
    void SetOptions(TPrintDialogOptions options) { FOptions = options; }
    int MinPage() const { return FMinPage; }
    void SetMinPage(int page) { FMinPage = page; }
    int MaxPage() const { return FMaxPage; }
    void SetMaxPage(int page) { FMaxPage = page; }
    int FromPage() const { return FFromPage; }
    void SetFromPage(int page) { FFromPage = page; }
    int ToPage() const { return FToPage; }
    void SetToPage(int page) { FToPage = page; }

    /// Shows the dialog; true when the user chose to print. The chosen printer, paper and
    /// orientation are applied to the global printer; a chosen range lands in FromPage/ToPage.
    bool Execute();
    /// Answers every following Execute instead of a window (empty hook: show the dialog again).
    static void SetExecuteHook(TExecuteHook hook);

private:
    bool ExecuteQtDialog();
    TPrintDialogOptions FOptions = 0;
    int FMinPage = 0, FMaxPage = 0, FFromPage = 0, FToPage = 0;
};

class VELLARO_EXPORT TPrinterSetupDialog : public TComponent {
public:
    using TExecuteHook = std::function<bool(TPrinterSetupDialog& dialog)>;
    explicit TPrinterSetupDialog(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    /// Shows the dialog for the selected printer; true when the user accepted a change.
    bool Execute();
    static void SetExecuteHook(TExecuteHook hook);

private:
    bool ExecuteOwnDialog();
};

} // namespace Vellaro
