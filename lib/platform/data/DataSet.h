#pragma once
// A data set: the rows of a table or of a query on a named Qt SQL connection, walked one
// current record at a time. Only the columns of visible fields (and a table's key) are read,
// and only a window of rows, bounded in rows and in bytes, is held in memory; moving to a
// record outside it reads the window that holds it, so a data set of any size costs the same
// memory. A table with a primary key reads the next window on from the last key held, so
// walking it front to back costs the same for every window. A print run reads one snapshot of
// the data through one forward-only query where the driver streams rows. Data sources attached
// to the data set hear when it opens, closes, moves or changes.

#include "platform/core/Component.h"
#include "platform/data/Field.h"
#include "platform/data/SqlCapabilities.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <map>
#include <memory>
#include <vector>

namespace Vellaro {

class TDataSource;

/// What a data set tells its data sources.
enum class TDataEvent { ActiveChanged, DataSetChanged, Scrolled };

/// The rows of a table or query. SQLite is the embedded default; any Qt SQL driver works, with
/// windows asked for in the dialect the driver reports (LIMIT/OFFSET, OFFSET/FETCH, or a scan).
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
    /// Bytes of values held in memory at a time: a window ends after the row that reaches it,
    /// so one huge value cannot multiply by the window size (at least one row is held).
    qint64 WindowBytes() const { return FWindowBytes; }
    void SetWindowBytes(qint64 Value);

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

    /// Starts a print run (counted; the outermost one counts): the data set reads one snapshot
    /// of the data until EndRun, in a read transaction the run opens on the connection, and
    /// recounts within it. Records walked front to back come from one forward-only query where
    /// the driver streams rows; a move back asks again. The connection must not be inside a
    /// transaction of the application's own. EDatabaseError, naming the driver, when the driver
    /// cannot take a snapshot.
    void BeginRun();
    /// Ends a print run: the query is let go and the read transaction ended. Never throws.
    void EndRun() noexcept;
    bool InRun() const { return FRunDepth > 0; }
    /// What the open connection's driver can do; read when the data set opens.
    const TSqlCapabilities& Capabilities() const { return FCaps; }

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

    /// Value of field FieldIndex in the current record; null without one, and null for a
    /// hidden field, whose column is not read.
    QVariant CurrentValue(int FieldIndex) const;
    /// Tells the links that the data or the fields' layout changed.
    void DataChanged();

private:
    /// Rows records from record index First (from 0), one value per column read each.
    struct TWindow {
        int First = 0;
        int Rows = 0;
        qint64 Bytes = 0;
        std::vector<QVariant> Values;
        bool Holds(int index) const { return index >= First && index < First + Rows; }
    };

    friend class TDataSource;
    friend class TField;
    void AddSource(TDataSource* Source);
    void RemoveSource(TDataSource* Source);
    void Notify(TDataEvent Event);
    void RequireClosed(const char* what) const;
    void RequireActive(const char* what) const;
    /// A field was shown or hidden: the columns read follow, the window is read again.
    void FieldVisibilityChanged();

    QSqlDatabase Database() const;
    bool ReadsQuery() const;
    /// Takes the table's primary key columns, which order its rows.
    void FindKey(const QSqlDatabase& db);
    QString KeyList(const QSqlDatabase& db) const;
    /// The statement the data set reads, as the application gave it (for counting).
    QString SelectText(const QSqlDatabase& db) const;
    /// The table, or the SQL text as a subquery.
    QString SourceText(const QSqlDatabase& db) const;
    /// Whether the window queries give every column (the caller keeps those read).
    bool ReadsWholeRows() const;
    /// SELECT of the columns read, after the given key when AfterKey, in key order.
    QString WindowSelect(const QSqlDatabase& db, bool AfterKey) const;
    /// Binds the key of the window row Row for a WindowSelect(..., true).
    void BindKeyOf(QSqlQuery& query, const TWindow& window, int Row) const;
    void BindKey(QSqlQuery& query, const QVariantList& key) const;
    /// Takes every FKeySampleSpacing-th key of a table in key order, so that a jump reads on
    /// from the nearest key sampled instead of passing over every row before it.
    void SampleKeys(const QSqlDatabase& db);
    int CountRows(QSqlDatabase& db) const;
    void ReadFields(const QSqlDatabase& db);
    void BuildFields(const QSqlRecord& record);
    /// Visible fields and key fields, in field order.
    std::vector<int> ColumnsToRead() const;
    void UseColumns(std::vector<int> Columns);
    /// Reads the window that holds record index Index (from 0). The data set's state changes
    /// only once the caller takes the window (a print run's query moves on, though).
    TWindow ReadWindow(int Index);
    TWindow ReadByQuery(int Index);
    TWindow ReadFromStream(int Index);
    void OpenStream(int Start);
    /// Takes rows from Query into Window up to the row and byte bounds; false at the end.
    bool TakeRows(QSqlQuery& Query, TWindow& Window) const;
    /// Rows read again must be the rows seen there before: rows removed or added in between
    /// would shift every record after them.
    void CheckUnchanged(const TWindow& Window) const;
    void RememberRows(const TWindow& Window);
    size_t RowFingerprint(const TWindow& Window, int Row) const;
    void TakeWindow(TWindow Window);

    QString FConnectionName;
    QString FTableName;
    QString FSQL;
    int FWindowSize = 500;
    qint64 FWindowBytes = 8 * 1024 * 1024;
    bool FActive = false;
    int FRecordCount = 0;
    int FRecNo = 0;
    bool FEof = true;
    int FDisableCount = 0;
    bool FChangeHeldBack = false;
    std::vector<std::unique_ptr<TField>> FFields;
    TWindow FWindow;
    std::vector<TDataSource*> FSources;
    TSqlCapabilities FCaps;
    // A table's primary key: its column names and their positions among the fields.
    QStringList FKeyNames;
    std::vector<int> FFieldKeys;
    // The fields whose columns are read, in column order; for each field its column or -1.
    std::vector<int> FColumns;
    std::vector<int> FColumnOf;
    // Key samples taken when counting: sample j is the key of record index
    // (j + 1) * FKeySampleSpacing - 1.
    std::vector<QVariantList> FKeySamples;
    int FKeySampleSpacing = 1;
    // Fingerprints of the first and last rows of the windows read, by record index.
    std::map<int, size_t> FSeenRows;
    // The print run: its depth, whether it opened a transaction, and its forward-only query
    // with the record index of the next row it gives.
    int FRunDepth = 0;
    bool FSnapshotOpen = false;
    std::unique_ptr<QSqlQuery> FStream;
    int FStreamNext = 0;
};

/// A print run of a data set for the life of this object (nothing without a data set).
class TDataSetRun {
public:
    explicit TDataSetRun(TDataSet* DataSet) : FDataSet(DataSet)
    {
        if (FDataSet)
            FDataSet->BeginRun();
    }
    ~TDataSetRun()
    {
        if (FDataSet)
            FDataSet->EndRun();
    }
    TDataSetRun(const TDataSetRun&) = delete;
    TDataSetRun& operator=(const TDataSetRun&) = delete;

private:
    TDataSet* FDataSet;
};

} // namespace Vellaro
