#include "gridjobs/PJDBGrid.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentRegistry.h"

#include <cstdint>
#include <vector>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TDBGridPrintJob)

void TPrintJobDataLink::ActiveChanged()
{
    TDataLink::ActiveChanged();
    if (FJob)
        FJob->Update();
}

void TPrintJobDataLink::DataSetChanged()
{
    TDataLink::DataSetChanged();
    if (FJob)
        FJob->Update();
}

TCustomDBGridPrintJob::TCustomDBGridPrintJob(TComponent* AOwner)
    : TSpecialTextGridPrintJob(AOwner)
    , FDataLink(std::make_unique<TPrintJobDataLink>(this))
{
}

TCustomDBGridPrintJob::~TCustomDBGridPrintJob()
{
    BeginDestruction();
    FDataLink.reset();
}

TDataSource* TCustomDBGridPrintJob::GetDataSource() const
{
    return FDataLink ? FDataLink->DataSource() : nullptr;
}

void TCustomDBGridPrintJob::SetDataSource(TDataSource* Value)
{
    TDataSource* old = GetDataSource();
    if (Value == old || !FDataLink)
        return;
    if (old)
        RemoveFreeNotification(old);
    // Told when the source goes away, whoever owns it.
    if (Value)
        FreeNotification(Value);
    // Leaving an open data set reaches the job through the link's ActiveChanged.
    FDataLink->SetDataSource(Value);
    if (Value)
        Update();
}

void TCustomDBGridPrintJob::Notification(TComponent* AComponent, TOperation Operation)
{
    TSpecialTextGridPrintJob::Notification(AComponent, Operation);
    TDataSource* source = GetDataSource();
    if (Operation == opRemove && FDataLink && source && AComponent == static_cast<TComponent*>(source))
        SetDataSource(nullptr);
}

TDataSet* TCustomDBGridPrintJob::ActiveDataSet() const
{
    TDataSet* dataSet = FDataLink ? FDataLink->DataSet() : nullptr;
    return dataSet && dataSet->Active() ? dataSet : nullptr;
}

int TCustomDBGridPrintJob::VisibleFieldCount() const
{
    TDataSet* dataSet = FDataLink ? FDataLink->DataSet() : nullptr;
    int count = 0;
    if (dataSet)
        for (int i = 0; i < dataSet->FieldCount(); ++i)
            count += dataSet->Fields(i)->Visible() ? 1 : 0;
    return count;
}

TField* TCustomDBGridPrintJob::GetField(int Index) const
{
    TDataSet* dataSet = FDataLink ? FDataLink->DataSet() : nullptr;
    if (!dataSet || Index < 0)
        return nullptr;
    for (int i = 0; i < dataSet->FieldCount(); ++i) {
        TField* field = dataSet->Fields(i);
        if (field->Visible() && Index-- == 0)
            return field;
    }
    return nullptr;
}

void TCustomDBGridPrintJob::Update()
{
    if (GetUpdateLocked())
        return;
    // A count setter that changes its count re-enters here; the inner call finds the counts set.
    if (TDataSet* dataSet = ActiveDataSet()) {
        SetColCount(VisibleFieldCount());
        SetRowCount(dataSet->RecordCount());
    } else {
        SetColCount(0);
        SetRowCount(0);
    }
    TSpecialTextGridPrintJob::Update();
}

void TCustomDBGridPrintJob::Draw(TCanvas* TheCanvas, int PageIndex, TDrawTarget Target)
{
    struct DrawingState {
        TCustomDBGridPrintJob* Job;
        explicit DrawingState(TCustomDBGridPrintJob* job) : Job(job)
        {
            Job->LockUpdate();
            Job->FDrawing = true;
            Job->FPageWidths.assign(size_t(Job->ColCount()) + 1, std::nullopt);
        }
        ~DrawingState()
        {
            Job->FDrawing = false;
            Job->FPageWidths.clear();
            Job->UnlockUpdate();
        }
    } state(this);
    try {
        // The page's first record is read before anything is drawn, so a page that cannot be
        // read shows only why.
        const TRowRange rows = PageRows(PageIndex);
        TDataSet* dataSet = ActiveDataSet();
        if (dataSet && rows.Last > rows.First && VisibleFieldCount() > 0)
            dataSet->SetRecNo(rows.First + 1);
        TSpecialTextGridPrintJob::Draw(TheCanvas, PageIndex, Target);
    } catch (const EDatabaseError& error) {
        if (Target == dtPrint)
            throw;
        DrawFailure(TheCanvas, error.Message());
    }
}

void TCustomDBGridPrintJob::DrawFailure(TCanvas* TheCanvas, const QString& Message)
{
    // The preview shows why the page has no table where the table would have been.
    const TRect page = GetPageRect();
    TheCanvas->Brush()->SetStyle(bsClear);
    TheCanvas->SetFont(*PageFont());
    TheCanvas->TextOut(page.Left, page.Top, QStringLiteral("The data cannot be shown: %1").arg(Message));
}

void TCustomDBGridPrintJob::Print()
{
    const TDataSetRun run(ActiveDataSet());
    Update(); // the snapshot's count, also when the data set holds its notices back
    TSpecialTextGridPrintJob::Print();
}

void TCustomDBGridPrintJob::PrintDialog()
{
    const TDataSetRun run(ActiveDataSet());
    Update();
    TSpecialTextGridPrintJob::PrintDialog();
}

int TCustomDBGridPrintJob::GetColWidth(TCanvas* Canvas, int ACol)
{
    const size_t slot = size_t(std::int64_t(ACol) + 1);
    if (!FDrawing || ACol < IndexCol || slot >= FPageWidths.size())
        return ComputeColWidth(Canvas, ACol);
    if (!FPageWidths[slot])
        FPageWidths[slot] = ComputeColWidth(Canvas, ACol);
    return *FPageWidths[slot];
}

int TCustomDBGridPrintJob::ComputeColWidth(TCanvas* Canvas, int ACol)
{
    if (!FDataLink || !FDataLink->DataSet())
        return 100;
    // Only the first ColCount visible fields share the width.
    std::vector<TField*> fields;
    for (int col = 0; col < ColCount(); ++col) {
        TField* field = GetField(col);
        if (!field)
            break;
        fields.push_back(field);
    }
    return ProportionalColWidth(Canvas, ACol, int(fields.size()), [&fields](int col) { return fields[size_t(col)]->DisplayWidth(); });
}

QString TCustomDBGridPrintJob::GetCellText(int PageIndex, int ACol, int ARow)
{
    if (ACol == IndexCol)
        return TSpecialTextGridPrintJob::GetCellText(PageIndex, ACol, ARow);
    TField* field = GetField(ACol);
    if (!field)
        return QString();
    if (ARow == FooterRow)
        return TSpecialTextGridPrintJob::GetCellText(PageIndex, ACol, ARow);
    if (ARow == HeaderRow)
        return field->DisplayLabel();
    if (TDataSet* dataSet = ActiveDataSet())
        dataSet->SetRecNo(ARow + 1);
    return field->DisplayText();
}

TAlignment TCustomDBGridPrintJob::GetCellAlignment(int ACol, int ARow)
{
    if (ACol == IndexCol || ARow == FooterRow)
        return taRightJustify;
    const TField* field = GetField(ACol);
    return field ? field->Alignment() : taLeftJustify;
}

void RegisterPJDBGrid()
{
    RegisterComponents(QStringLiteral("Print Jobs"), {QStringLiteral("TDBGridPrintJob")});
}

} // namespace Vellaro
