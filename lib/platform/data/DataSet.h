#pragma once
// A data set: the rows of a table or of a query on a named Qt SQL connection, walked one
// current record at a time. Only a window of rows is held in memory; moving to a record
// outside it reads the window that holds it (LIMIT/OFFSET), so a data set of any size costs
// the same memory. A table with a primary key reads the next window on from the last key held,
// so walking it front to back costs the same for every window. Data sources attached to the
// data set hear when it opens, closes, moves or changes.

#include "platform/core/Component.h"
#include "platform/data/Field.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace Vellaro {

class TDataSource;

/// What a data set tells its data sources.
enum class TDataEvent { ActiveChanged, DataSetChanged, Scrolled };

/// The rows of a table or query. SQLite is the embedded default; any Qt SQL driver works.
class VELLARO_EXPORT TDataSet : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(QString ConnectionName READ ConnectionName WRITE SetConnectionName)
    Q_PROPERTY(QString TableName READ TableName WRITE SetTableName)
    Q_PROPERTY(QString SQL READ SQL WRITE SetSQL)
    Q_PROPERTY(int WindowSize READ WindowSize WRITE SetWindowSize)
public:
    explicit TDataSet(TComponent* AOwner = nullptr);
    ~TDataSet() override;

    // What to open; changing any of them while open raises EDatabaseError.
    /// The Qt SQL connection by name; the default connection unless set.
    QString ConnectionName() const { return FConnectionName; }
    void SetConnectionName(const QString& Value);
    /// A table, read in primary-key order when it has one.
    QString TableName() const { return FTableName; }
    void SetTableName(const QString& Value);
    /// A SELECT statement; used instead of TableName when set. Give it an ORDER BY: the rows are
    /// read in windows by separate statements, which only an ordered result keeps consistent.
    QString SQL() const { return FSQL; }
    void SetSQL(const QString& Value);
    /// Rows held in memory at a time (at least 1).
    int WindowSize() const { return FWindowSize; }
    void SetWindowSize(int Value);

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    /// Counts the rows, builds the fields and reads the first window; on failure the data set
    /// stays closed and EDatabaseError says why.
    void Open();
    /// Drops the rows held; the fields and their display settings stay.
    void Close();
    /// Counts and reads again (rows added or removed by others), keeping the record number
    /// where it still exists, and tells the links that the data changed.
    void Refresh();

    int FieldCount() const { return int(FFields.size()); }
    /// The field at Index (0 to FieldCount-1); EDatabaseError otherwise.
    TField* Fields(int Index) const;
    /// The field of that name (case-insensitive), or nullptr.
    TField* FindField(const QString& FieldName) const;
    /// The field of that name; EDatabaseError when there is none.
    TField* FieldByName(const QString& FieldName) const;

    /// Rows counted when the data set was opened or refreshed; 0 while closed.
    virtual int RecordCount() const;
    /// Number of the current record from 1; 0 when closed or empty.
    int RecNo() const { return FRecNo; }
    /// Moves to record Value. A number before the first or after the last record moves to that
    /// end. Raises EDatabaseError when closed, when the window cannot be read, or when the
    /// record is gone because the data changed after counting.
    void SetRecNo(int Value);
    void First();
    /// Moves on one record; past the last one Eof becomes true and the record stays.
    void Next();
    /// True when Next went past the last record or the data set is empty.
    bool Eof() const { return FEof; }

    /// Holds back the move and change notices to the links (counted); open and close still pass.
    void DisableControls() { ++FDisableCount; }
    /// Ends one DisableControls; the last one sends a single change notice if any was held back.
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount > 0; }

    /// Value of field FieldIndex in the current record; null without one.
    QVariant CurrentValue(int FieldIndex) const;
    /// Tells the links that the data or the fields' layout changed.
    void DataChanged();

private:
    /// Rows records from record index First (from 0), FieldCount values each.
    struct TWindow {
        int First = 0;
        int Rows = 0;
        std::vector<QVariant> Values;
        bool Holds(int index) const { return index >= First && index < First + Rows; }
    };

    friend class TDataSource;
    void AddSource(TDataSource* Source);
    void RemoveSource(TDataSource* Source);
    void Notify(TDataEvent Event);
    void RequireClosed(const char* what) const;
    void RequireActive(const char* what) const;

    QSqlDatabase Database() const;
    bool ReadsQuery() const;
    /// Takes the table's primary key columns, which order its rows.
    void FindKey(const QSqlDatabase& db);
    QString KeyList(const QSqlDatabase& db) const;
    QString SelectText(const QSqlDatabase& db) const;
    QString OrderedSelectText(const QSqlDatabase& db) const;
    int CountRows(QSqlDatabase& db) const;
    bool ExecWindowQuery(QSqlQuery& query, const QSqlDatabase& db, int first) const;
    /// Reads the window that should hold record index Index (from 0); builds the fields when
    /// opening. The data set's state changes only once the caller takes the window.
    TWindow ReadWindow(int Index);
    void BuildFields(const QSqlRecord& record);

    QString FConnectionName;
    QString FTableName;
    QString FSQL;
    int FWindowSize = 500;
    bool FActive = false;
    int FRecordCount = 0;
    int FRecNo = 0;
    bool FEof = true;
    int FDisableCount = 0;
    bool FChangeHeldBack = false;
    std::vector<std::unique_ptr<TField>> FFields;
    TWindow FWindow;
    std::vector<TDataSource*> FSources;
    // A table's primary key: its column names and their positions among the fields.
    QStringList FKeyNames;
    std::vector<int> FFieldKeys;
};

} // namespace Vellaro
