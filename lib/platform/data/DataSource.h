#pragma once
// A data source connects a data set to the things that show it; a data link is one such
// connection, told when the data set opens or closes, changes, or moves to another record.

#include "platform/core/Component.h"
#include "platform/data/DataSet.h"

#include <QObject>
#include <vector>

namespace Vellaro {

class TDataLink;

/// Puts a data set at the disposal of data links. Refers to the data set without owning it
/// and lets go of it when the data set goes away.
class VELLARO_EXPORT TDataSource : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(Vellaro::TDataSet* DataSet READ DataSet WRITE SetDataSet)
public:
    explicit TDataSource(TComponent* AOwner = nullptr);
    ~TDataSource() override;

    TDataSet* DataSet() const { return FDataSet; }
    /// Switches to another data set; every link hears of it (see TDataLink).
    void SetDataSet(TDataSet* Value);
    int LinkCount() const { return int(FLinks.size()); }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TDataSet;
    friend class TDataLink;
    void DataEvent(TDataEvent Event);
    /// Every link compares the data set's state with what it knew.
    void LinksFollow();

    TDataSet* FDataSet = nullptr;
    std::vector<TDataLink*> FLinks;
};

/// One connection to a data source. Descendants override the notices they care about.
class VELLARO_EXPORT TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return FDataSource; }
    /// Moves to another data source: ActiveChanged when the active state differs from
    /// before, otherwise DataSetChanged when the new source has an open data set.
    void SetDataSource(TDataSource* Value);
    /// The data source's data set, or nullptr.
    TDataSet* DataSet() const { return FDataSource ? FDataSource->DataSet() : nullptr; }
    /// Whether the link's data set is open, as last told.
    bool Active() const { return FActive; }

protected:
    /// The data set was opened or closed, or the link now reaches one in another state.
    virtual void ActiveChanged() {}
    /// The data, the fields' layout or the data set behind the link changed.
    virtual void DataSetChanged() {}
    /// The data set moved to another record.
    virtual void DataSetScrolled() {}

private:
    friend class TDataSource;
    void Follow(bool dataSetReplaced);
    void DataEvent(TDataEvent Event);

    TDataSource* FDataSource = nullptr;
    bool FActive = false;
};

} // namespace Vellaro
