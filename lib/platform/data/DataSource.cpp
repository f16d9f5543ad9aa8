#include "platform/data/DataSource.h"

#include "platform/core/ClassRegistry.h"

#include <algorithm>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TDataSource)

namespace {
bool Holds(const std::vector<TDataLink*>& links, const TDataLink* link)
{
    return std::find(links.begin(), links.end(), link) != links.end();
}
} // namespace

TDataSource::TDataSource(TComponent* AOwner)
    : TComponent(AOwner)
{
}

TDataSource::~TDataSource()
{
    // Components referring to this source let go of it first, while it is still whole.
    DestroyComponent();
    if (FDataSet)
        FDataSet->RemoveSource(this);
    FDataSet = nullptr;
    while (!FLinks.empty()) {
        TDataLink* link = FLinks.back();
        FLinks.pop_back();
        link->FDataSource = nullptr;
        link->Follow(false);
    }
}

void TDataSource::SetDataSet(TDataSet* Value)
{
    if (Value == FDataSet)
        return;
    if (FDataSet) {
        FDataSet->RemoveSource(this);
        RemoveFreeNotification(FDataSet);
    }
    FDataSet = Value;
    if (FDataSet) {
        FDataSet->AddSource(this);
        FreeNotification(FDataSet);
    }
    for (TDataLink* link : std::vector<TDataLink*>(FLinks))
        if (Holds(FLinks, link))
            link->Follow(true);
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && FDataSet && AComponent == static_cast<TComponent*>(FDataSet))
        SetDataSet(nullptr);
}

void TDataSource::DataEvent(TDataEvent Event)
{
    // Copy: a link may detach itself or others from inside its handler.
    for (TDataLink* link : std::vector<TDataLink*>(FLinks))
        if (Holds(FLinks, link))
            link->DataEvent(Event);
}

TDataLink::~TDataLink()
{
    if (FDataSource)
        std::erase(FDataSource->FLinks, this);
}

void TDataLink::SetDataSource(TDataSource* Value)
{
    if (Value == FDataSource)
        return;
    if (FDataSource)
        std::erase(FDataSource->FLinks, this);
    FDataSource = Value;
    if (FDataSource)
        FDataSource->FLinks.push_back(this);
    Follow(true);
}

void TDataLink::Follow(bool dataSetReplaced)
{
    const bool active = DataSet() && DataSet()->Active();
    if (active != FActive) {
        FActive = active;
        ActiveChanged();
    } else if (active && dataSetReplaced) {
        DataSetChanged();
    }
}

void TDataLink::DataEvent(TDataEvent Event)
{
    switch (Event) {
    case TDataEvent::ActiveChanged: Follow(false); break;
    case TDataEvent::DataSetChanged: DataSetChanged(); break;
    case TDataEvent::Scrolled: DataSetScrolled(); break;
    }
}

} // namespace Vellaro
