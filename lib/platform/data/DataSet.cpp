#include "platform/data/DataSet.h"

#include "platform/core/ClassRegistry.h"

#include "platform/data/DataSource.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <algorithm>
#include <climits>
#include <utility>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TDataSet)

TDataSet::TDataSet(TComponent* AOwner)
    : TComponent(AOwner)
    , FConnectionName(QString::fromLatin1(QSqlDatabase::defaultConnection))
{
}

TDataSet::~TDataSet()
{
    // The data sources hear of it while this data set is still whole and let go of it.
    DestroyComponent();
    for (TDataSource* source : std::vector<TDataSource*>(FSources))
        source->SetDataSet(nullptr);
}

// ---- What to open ---------------------------------------------------------------------------

void TDataSet::RequireClosed(const char* what) const
{
    if (FActive)
        throw EDatabaseError(QStringLiteral("Cannot change %1 of an open data set").arg(QLatin1String(what)));
}

void TDataSet::RequireActive(const char* what) const
{
    if (!FActive)
        throw EDatabaseError(QStringLiteral("Cannot %1: the data set is closed").arg(QLatin1String(what)));
}

void TDataSet::SetConnectionName(const QString& Value)
{
    if (Value == FConnectionName)
        return;
    RequireClosed("the connection");
    FConnectionName = Value;
}

void TDataSet::SetTableName(const QString& Value)
{
    if (Value == FTableName)
        return;
    RequireClosed("the table");
    FTableName = Value;
}

void TDataSet::SetSQL(const QString& Value)
{
    if (Value == FSQL)
        return;
    RequireClosed("the SQL text");
    FSQL = Value;
}

void TDataSet::SetWindowSize(int Value)
{
    FWindowSize = std::max(Value, 1);
}

void TDataSet::SetWindowBytes(qint64 Value)
{
    FWindowBytes = std::max<qint64>(Value, 1);
}

QSqlDatabase TDataSet::Database() const
{
    if (!QSqlDatabase::contains(FConnectionName))
        throw EDatabaseError(QStringLiteral("No database connection named \"%1\"").arg(FConnectionName));
    // Never reopened behind the application's back: a closed connection is an error.
    QSqlDatabase db = QSqlDatabase::database(FConnectionName, false);
    if (!db.isOpen())
        throw EDatabaseError(QStringLiteral("The database connection \"%1\" is not open").arg(FConnectionName));
    return db;
}

bool TDataSet::ReadsQuery() const
{
    return !FSQL.trimmed().isEmpty();
}

void TDataSet::FindKey(const QSqlDatabase& db)
{
    FKeyNames.clear();
    if (ReadsQuery())
        return;
    const QSqlIndex key = db.primaryIndex(FTableName);
    for (int i = 0; i < key.count(); ++i)
        FKeyNames << key.fieldName(i);
}

QString TDataSet::KeyList(const QSqlDatabase& db) const
{
    QStringList columns;
    for (const QString& name : FKeyNames)
        columns << db.driver()->escapeIdentifier(name, QSqlDriver::FieldName);
    return columns.join(QLatin1String(", "));
}

QString TDataSet::SelectText(const QSqlDatabase& db) const
{
    if (ReadsQuery()) {
        // The text runs inside a subquery, where a second statement or one that is no query is
        // refused and never run; the callers end it with a line break, closing a trailing comment.
        QString sql = FSQL.trimmed();
        while (sql.endsWith(QLatin1Char(';')))
            sql = sql.chopped(1).trimmed();
        return sql;
    }
    return QStringLiteral("SELECT * FROM %1").arg(SourceText(db));
}

QString TDataSet::SourceText(const QSqlDatabase& db) const
{
    if (ReadsQuery())
        return QStringLiteral("(%1\n) vellaro_rows").arg(SelectText(db));
    if (FTableName.isEmpty())
        throw EDatabaseError(QStringLiteral("Nothing to open: the data set has neither a table name nor SQL text"));
    return db.driver()->escapeIdentifier(FTableName, QSqlDriver::TableName);
}

bool TDataSet::ReadsWholeRows() const
{
    // A query whose order a subquery would lose runs as given; its hidden columns are then
    // read and dropped at once instead of not read.
    return FColumns.size() == FFields.size() || (ReadsQuery() && !FCaps.KeepsSubqueryOrder);
}

QString TDataSet::WindowSelect(const QSqlDatabase& db, bool AfterKey) const
{
    if (ReadsQuery() && !FCaps.KeepsSubqueryOrder)
        return SelectText(db) + QLatin1Char('\n');
    QString columns;
    if (FColumns.size() == FFields.size()) {
        columns = QStringLiteral("*"); // also keeps a query's columns of the same name apart
    } else if (FColumns.empty()) {
        columns = QStringLiteral("1"); // nothing to show: the rows still count
    } else {
        QStringList names;
        for (int field : FColumns)
            names << db.driver()->escapeIdentifier(FFields[size_t(field)]->FieldName(), QSqlDriver::FieldName);
        columns = names.join(QLatin1String(", "));
    }
    QString text = QStringLiteral("SELECT %1 FROM %2").arg(columns, SourceText(db));
    if (FKeyNames.isEmpty())
        return text;
    if (AfterKey) {
        // (a, b) > (?, ?) spelled out, for dialects without row-value comparisons.
        QStringList alternatives;
        for (qsizetype i = 0; i < FKeyNames.size(); ++i) {
            QStringList terms;
            for (qsizetype j = 0; j <= i; ++j)
                terms << QStringLiteral("%1 %2 ?").arg(db.driver()->escapeIdentifier(FKeyNames[j], QSqlDriver::FieldName),
                             QLatin1String(j < i ? "=" : ">"));
            alternatives << QLatin1Char('(') + terms.join(QLatin1String(" AND ")) + QLatin1Char(')');
        }
        text += QStringLiteral(" WHERE ") + alternatives.join(QLatin1String(" OR "));
    }
    return text + QStringLiteral(" ORDER BY ") + KeyList(db);
}

void TDataSet::BindKeyOf(QSqlQuery& query, const TWindow& window, int Row) const
{
    const size_t row = size_t(Row) * FColumns.size();
    QVariantList key;
    for (int field : FFieldKeys)
        key << window.Values[row + size_t(FColumnOf[size_t(field)])];
    BindKey(query, key);
}

void TDataSet::BindKey(QSqlQuery& query, const QVariantList& key) const
{
    // In the order of the spelled-out comparison: a; a, b; a, b, c; ...
    for (qsizetype i = 0; i < key.size(); ++i)
        for (qsizetype j = 0; j <= i; ++j)
            query.addBindValue(key[j]);
}

void TDataSet::SampleKeys(const QSqlDatabase& db)
{
    FKeySamples.clear();
    FKeySampleSpacing = 4 * FWindowSize; // a jump passes over fewer rows than four windows
    if (FKeyNames.isEmpty() || !FCaps.WindowFunctions)
        return;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const QString keys = KeyList(db);
    const QString text = QStringLiteral("SELECT %1 FROM (SELECT %1, ROW_NUMBER() OVER (ORDER BY %1) AS vellaro_n FROM %2) "
                                        "vellaro_keys WHERE vellaro_n % %3 = 0 ORDER BY %1")
                             .arg(keys, SourceText(db))
                             .arg(FKeySampleSpacing);
    // Without samples jumps still work, by OFFSET: a refused query costs only speed.
    if (!query.exec(text))
        return;
    while (query.next()) {
        QVariantList key;
        for (qsizetype i = 0; i < FKeyNames.size(); ++i)
            key << query.value(int(i));
        FKeySamples.push_back(std::move(key));
    }
    if (query.lastError().isValid())
        FKeySamples.clear();
}

// ---- Open and close -------------------------------------------------------------------------

void TDataSet::SetActive(bool Value)
{
    if (Value)
        Open();
    else
        Close();
}

int TDataSet::CountRows(QSqlDatabase& db) const
{
    // Drivers such as SQLite report no result size, and those that do would first fetch the
    // whole result: a COUNT query costs the server a scan and the client nothing.
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const QString text = QStringLiteral("SELECT COUNT(*) FROM (%1\n) vellaro_rows").arg(SelectText(db));
    if (!query.exec(text) || !query.next())
        throw EDatabaseError(QStringLiteral("Cannot count the rows: %1").arg(query.lastError().text()));
    const qlonglong count = query.value(0).toLongLong();
    if (count > INT_MAX)
        throw EDatabaseError(QStringLiteral("Too many rows: %1").arg(count));
    return int(count);
}

void TDataSet::ReadFields(const QSqlDatabase& db)
{
    // The columns and their types without a row: the rows are read only for the visible fields.
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(SourceText(db))))
        throw EDatabaseError(QStringLiteral("Cannot read the columns: %1").arg(query.lastError().text()));
    BuildFields(query.record());
}

void TDataSet::Open()
{
    if (FActive)
        return;
    QSqlDatabase db = Database();
    FCaps = TSqlCapabilities::Of(db.driverName(), db.driver());
    FindKey(db);
    ReadFields(db);
    const int count = CountRows(db);
    SampleKeys(db);
    UseColumns(ColumnsToRead());
    FSeenRows.clear();
    FWindow = TWindow();
    TWindow window = ReadWindow(0);
    FRecordCount = count;
    TakeWindow(std::move(window));
    FActive = true;
    FRecNo = FRecordCount > 0 ? 1 : 0;
    FEof = FRecordCount == 0;
    Notify(TDataEvent::ActiveChanged);
}

void TDataSet::Close()
{
    if (!FActive)
        return;
    FStream.reset();
    FActive = false;
    FRecordCount = 0;
    FRecNo = 0;
    FEof = true;
    FWindow = TWindow();
    FSeenRows.clear();
    Notify(TDataEvent::ActiveChanged);
}

void TDataSet::Refresh()
{
    RequireActive("refresh");
    QSqlDatabase db = Database();
    FStream.reset(); // a server may take one statement at a time
    const int count = CountRows(db);
    SampleKeys(db);
    const int recNo = std::min(std::max(FRecNo, 1), count);
    FSeenRows.clear();
    FWindow = TWindow();
    TWindow window = recNo > 0 ? ReadWindow(recNo - 1) : TWindow();
    if (recNo > 0 && !window.Holds(recNo - 1))
        throw EDatabaseError(QStringLiteral("The data changed while it was read again; refresh once more"));
    FRecordCount = count;
    FRecNo = recNo;
    FEof = count == 0;
    TakeWindow(std::move(window));
    DataChanged();
}

// ---- Print runs -----------------------------------------------------------------------------

void TDataSet::BeginRun()
{
    RequireActive("start a print run");
    if (FRunDepth++ > 0)
        return;
    try {
        QSqlDatabase db = Database();
        const QStringList statements = FCaps.BeginSnapshot();
        if (const QString probe = FCaps.InTransactionProbe(); !probe.isEmpty()) {
            // Ending the run's transaction would end the application's too.
            QSqlQuery query(db);
            if (query.exec(probe) && query.next() && query.value(0).toBool())
                throw EDatabaseError(QStringLiteral("Cannot start a print run inside the connection's own transaction: "
                                                    "commit or roll it back first"));
        }
        if (FCaps.Snapshot == TSqlSnapshot::DriverDefault) {
            if (!db.transaction())
                throw EDatabaseError(QStringLiteral("Cannot start the print run's transaction: %1").arg(db.lastError().text()));
        }
        for (const QString& statement : statements) {
            QSqlQuery query(db);
            if (!query.exec(statement))
                throw EDatabaseError(QStringLiteral("Cannot start the print run's snapshot: %1").arg(query.lastError().text()));
        }
        FSnapshotOpen = true;
        Refresh(); // the count and the rows of the snapshot
    } catch (...) {
        EndRun();
        throw;
    }
}

void TDataSet::EndRun() noexcept
{
    if (FRunDepth == 0 || --FRunDepth > 0)
        return;
    FStream.reset();
    if (!FSnapshotOpen)
        return;
    FSnapshotOpen = false;
    // Nothing was written: ending the transaction either way lets the snapshot go. A lost
    // connection has ended it already.
    QSqlDatabase db = QSqlDatabase::database(FConnectionName, false);
    if (!db.isOpen())
        return;
    if (FCaps.Snapshot == TSqlSnapshot::DriverDefault) {
        db.rollback();
        return;
    }
    QSqlQuery query(db);
    query.exec(QStringLiteral("COMMIT"));
}

// ---- Fields ---------------------------------------------------------------------------------

void TDataSet::BuildFields(const QSqlRecord& record)
{
    FFieldKeys.clear();
    // The same columns as before keep their fields and display settings.
    bool same = int(FFields.size()) == record.count();
    for (int i = 0; same && i < record.count(); ++i)
        same = FFields[size_t(i)]->FieldName() == record.fieldName(i);
    if (!same) {
        FFields.clear();
        for (int i = 0; i < record.count(); ++i) {
            const QSqlField field = record.field(i);
            const TFieldType type = FieldTypeOf(field.metaType());
            const int length = FCaps.TextLengthInBytes && type == ftString && field.length() > 0 ? field.length() / 4 : field.length();
            FFields.push_back(std::make_unique<TField>(this, i, field.name(), type, length));
        }
    }
    for (const QString& name : FKeyNames) {
        const int index = record.indexOf(name);
        if (index < 0)
            throw EDatabaseError(QStringLiteral("The key column \"%1\" is not among the columns read").arg(name));
        FFieldKeys.push_back(index);
    }
}

std::vector<int> TDataSet::ColumnsToRead() const
{
    std::vector<int> columns;
    for (int i = 0; i < FieldCount(); ++i)
        if (FFields[size_t(i)]->Visible() || std::find(FFieldKeys.begin(), FFieldKeys.end(), i) != FFieldKeys.end())
            columns.push_back(i);
    return columns;
}

void TDataSet::UseColumns(std::vector<int> Columns)
{
    FColumns = std::move(Columns);
    FColumnOf.assign(FFields.size(), -1);
    for (size_t c = 0; c < FColumns.size(); ++c)
        FColumnOf[size_t(FColumns[c])] = int(c);
}

void TDataSet::FieldVisibilityChanged()
{
    std::vector<int> columns = ColumnsToRead();
    if (FActive && columns != FColumns) {
        // Read the current window again with the new columns; a failed read keeps the old ones.
        std::vector<int> oldColumns = FColumns;
        TWindow oldWindow = std::move(FWindow);
        std::map<int, size_t> oldSeen = std::move(FSeenRows);
        FStream.reset();
        UseColumns(std::move(columns));
        FWindow = TWindow();
        FSeenRows.clear();
        try {
            TWindow window = FRecNo > 0 ? ReadWindow(FRecNo - 1) : TWindow();
            if (FRecNo > 0 && !window.Holds(FRecNo - 1))
                throw EDatabaseError(
                    QStringLiteral("Record %1 of %2 is gone: the data changed after it was counted").arg(FRecNo).arg(FRecordCount));
            TakeWindow(std::move(window));
        } catch (...) {
            UseColumns(std::move(oldColumns));
            FWindow = std::move(oldWindow);
            FSeenRows = std::move(oldSeen);
            throw;
        }
    }
    DataChanged();
}

TField* TDataSet::Fields(int Index) const
{
    if (Index < 0 || Index >= FieldCount())
        throw EDatabaseError(QStringLiteral("Field index %1 out of range (%2 fields)").arg(Index).arg(FieldCount()));
    return FFields[size_t(Index)].get();
}

TField* TDataSet::FindField(const QString& FieldName) const
{
    for (const auto& field : FFields)
        if (field->FieldName().compare(FieldName, Qt::CaseInsensitive) == 0)
            return field.get();
    return nullptr;
}

TField* TDataSet::FieldByName(const QString& FieldName) const
{
    if (TField* field = FindField(FieldName))
        return field;
    throw EDatabaseError(QStringLiteral("No field named \"%1\"").arg(FieldName));
}

// ---- Records --------------------------------------------------------------------------------

int TDataSet::RecordCount() const
{
    return FRecordCount;
}

namespace {
/// Memory a value holds, roughly: its characters or bytes, or a fixed size for the rest.
qint64 ValueBytes(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString: return qint64(sizeof(QVariant)) + 2 * qint64(value.toString().size());
    case QMetaType::QByteArray: return qint64(sizeof(QVariant)) + qint64(value.toByteArray().size());
    default: return qint64(sizeof(QVariant));
    }
}

EDatabaseError ReadError(int first, const QSqlQuery& query)
{
    return EDatabaseError(QStringLiteral("Cannot read the rows from %1: %2").arg(first + 1).arg(query.lastError().text()));
}
} // namespace

bool TDataSet::TakeRows(QSqlQuery& Query, TWindow& Window) const
{
    // A column dropped or added since opening would put values under the wrong fields.
    const bool whole = ReadsWholeRows();
    const QSqlRecord record = Query.record();
    bool same = whole ? record.count() == FieldCount() : record.count() == int(FColumns.empty() ? 1 : FColumns.size());
    for (size_t i = 0; same && i < FColumns.size(); ++i) {
        const int position = whole ? FColumns[i] : int(i);
        same = record.fieldName(position).compare(FFields[size_t(FColumns[i])]->FieldName(), Qt::CaseInsensitive) == 0;
    }
    if (!same)
        throw EDatabaseError(QStringLiteral("The columns have changed since the data set was opened"));
    const size_t columns = FColumns.size();
    while (Window.Rows < FWindowSize && (Window.Rows == 0 || Window.Bytes < FWindowBytes)) {
        if (!Query.next()) {
            if (Query.lastError().isValid())
                throw ReadError(Window.First + Window.Rows, Query);
            return false;
        }
        for (size_t i = 0; i < columns; ++i) {
            Window.Values.push_back(Query.value(whole ? FColumns[i] : int(i)));
            Window.Bytes += ValueBytes(Window.Values.back());
        }
        ++Window.Rows;
    }
    return true;
}

TDataSet::TWindow TDataSet::ReadWindow(int Index)
{
    TWindow window = InRun() && FCaps.StreamsRows ? ReadFromStream(Index) : ReadByQuery(Index);
    CheckUnchanged(window);
    return window;
}

TDataSet::TWindow TDataSet::ReadByQuery(int Index)
{
    QSqlDatabase db = Database();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    TWindow window;
    window.First = Index;
    // The window right after the one held starts after its last key: no rows are skipped
    // over, so reading a table front to back costs the same for every window.
    const bool follows = !FKeyNames.isEmpty() && FWindow.Rows > 0 && Index == FWindow.First + FWindow.Rows;
    int skip = 0;
    bool ok = false;
    if (follows) {
        query.prepare(FCaps.Window(WindowSelect(db, true), 0, FWindowSize));
        BindKeyOf(query, FWindow, FWindow.Rows - 1);
        ok = query.exec();
    } else if (const int sample = Index / FKeySampleSpacing - 1; sample >= 0 && size_t(sample) < FKeySamples.size()) {
        // A jump reads on from the nearest key sampled before it: fewer rows than the
        // spacing are passed over, wherever the record is.
        const int after = (sample + 1) * FKeySampleSpacing;
        query.prepare(FCaps.Window(WindowSelect(db, true), Index - after, FWindowSize));
        BindKey(query, FKeySamples[size_t(sample)]);
        ok = query.exec();
        skip = FCaps.Paging == TSqlPaging::Scan ? Index - after : 0;
    } else {
        ok = query.exec(FCaps.Window(WindowSelect(db, false), Index, FWindowSize));
        skip = FCaps.Paging == TSqlPaging::Scan ? Index : 0;
    }
    if (!ok)
        throw ReadError(Index, query);
    for (; skip > 0; --skip)
        if (!query.next()) {
            if (query.lastError().isValid())
                throw ReadError(Index, query);
            return window;
        }
    TakeRows(query, window);
    return window;
}

void TDataSet::OpenStream(int Start)
{
    FStream.reset();
    QSqlDatabase db = Database();
    auto query = std::make_unique<QSqlQuery>(db);
    query->setForwardOnly(true);
    bool ok = false;
    if (Start > 0 && !FKeyNames.isEmpty() && FWindow.Holds(Start - 1)) {
        // Going on from a key held costs nothing for the rows before it.
        query->prepare(WindowSelect(db, true));
        BindKeyOf(*query, FWindow, Start - 1 - FWindow.First);
        ok = query->exec();
        FStreamNext = Start;
    } else if (Start > 0 && FCaps.Paging != TSqlPaging::Scan) {
        ok = query->exec(FCaps.Window(WindowSelect(db, false), Start, -1));
        FStreamNext = Start;
    } else {
        ok = query->exec(WindowSelect(db, false));
        FStreamNext = 0;
    }
    if (!ok)
        throw ReadError(Start, *query);
    FStream = std::move(query);
}

TDataSet::TWindow TDataSet::ReadFromStream(int Index)
{
    if (!FStream || Index < FStreamNext)
        OpenStream(Index);
    TWindow window;
    try {
        for (; FStreamNext < Index; ++FStreamNext)
            if (!FStream->next()) {
                if (FStream->lastError().isValid())
                    throw ReadError(FStreamNext, *FStream);
                FStream.reset();
                window.First = Index;
                return window;
            }
        window.First = FStreamNext;
        const bool more = TakeRows(*FStream, window);
        FStreamNext += window.Rows;
        if (!more)
            FStream.reset();
    } catch (...) {
        FStream.reset();
        throw;
    }
    return window;
}

size_t TDataSet::RowFingerprint(const TWindow& Window, int Row) const
{
    // A table's rows are told apart by their key; a query's by every value read.
    const size_t first = size_t(Row) * FColumns.size();
    size_t hash = 0;
    const auto add = [&](const QVariant& value) {
        const size_t part = value.typeId() == QMetaType::QByteArray ? qHash(value.toByteArray()) : qHash(value.toString());
        hash = hash * 31 + part + (value.isNull() ? 7 : 0);
    };
    if (!FKeyNames.isEmpty()) {
        for (int field : FFieldKeys)
            add(Window.Values[first + size_t(FColumnOf[size_t(field)])]);
    } else {
        for (size_t c = 0; c < FColumns.size(); ++c)
            add(Window.Values[first + c]);
    }
    return hash;
}

void TDataSet::CheckUnchanged(const TWindow& Window) const
{
    for (int row = 0; row < Window.Rows; ++row) {
        const auto seen = FSeenRows.find(Window.First + row);
        if (seen != FSeenRows.end() && seen->second != RowFingerprint(Window, row))
            throw EDatabaseError(QStringLiteral("Record %1 of %2 is not the record read there before: rows were added or "
                                                "removed after they were counted")
                                     .arg(Window.First + row + 1)
                                     .arg(FRecordCount));
    }
}

void TDataSet::RememberRows(const TWindow& Window)
{
    if (Window.Rows == 0 || InRun())
        return; // a run reads one snapshot
    // Bounded: windows of one huge row each would otherwise add two entries a row.
    constexpr size_t MostRemembered = 65536;
    if (FSeenRows.size() >= MostRemembered)
        FSeenRows.clear();
    FSeenRows[Window.First] = RowFingerprint(Window, 0);
    FSeenRows[Window.First + Window.Rows - 1] = RowFingerprint(Window, Window.Rows - 1);
}

void TDataSet::TakeWindow(TWindow Window)
{
    RememberRows(Window);
    FWindow = std::move(Window);
}

void TDataSet::SetRecNo(int Value)
{
    RequireActive("move to a record");
    if (FRecordCount == 0) {
        FRecNo = 0;
        FEof = true;
        return;
    }
    Value = std::clamp(Value, 1, FRecordCount);
    FEof = false;
    if (Value == FRecNo)
        return;
    const int index = Value - 1;
    if (!FWindow.Holds(index)) {
        TWindow window = ReadWindow(index);
        if (!window.Holds(index))
            throw EDatabaseError(
                QStringLiteral("Record %1 of %2 is gone: the data changed after it was counted").arg(Value).arg(FRecordCount));
        TakeWindow(std::move(window));
    }
    FRecNo = Value;
    Notify(TDataEvent::Scrolled);
}

void TDataSet::First()
{
    SetRecNo(1);
    FEof = FRecordCount == 0;
}

void TDataSet::Next()
{
    RequireActive("move to the next record");
    if (FRecNo >= FRecordCount)
        FEof = true;
    else
        SetRecNo(FRecNo + 1);
}

QVariant TDataSet::CurrentValue(int FieldIndex) const
{
    if (!FActive || !FWindow.Holds(FRecNo - 1) || FieldIndex < 0 || FieldIndex >= FieldCount())
        return QVariant();
    const int column = FColumnOf[size_t(FieldIndex)];
    if (column < 0)
        return QVariant();
    const size_t row = size_t(FRecNo - 1 - FWindow.First);
    return FWindow.Values[row * FColumns.size() + size_t(column)];
}

// ---- Notification ---------------------------------------------------------------------------

void TDataSet::AddSource(TDataSource* Source)
{
    if (std::find(FSources.begin(), FSources.end(), Source) == FSources.end())
        FSources.push_back(Source);
}

void TDataSet::RemoveSource(TDataSource* Source)
{
    std::erase(FSources, Source);
}

void TDataSet::DataChanged()
{
    Notify(TDataEvent::DataSetChanged);
}

void TDataSet::EnableControls()
{
    if (FDisableCount == 0 || --FDisableCount > 0 || !FChangeHeldBack)
        return;
    FChangeHeldBack = false;
    Notify(TDataEvent::DataSetChanged);
}

void TDataSet::Notify(TDataEvent Event)
{
    // Opening and closing always pass: a link must never take a closed data set for an open one.
    if (Event != TDataEvent::ActiveChanged && FDisableCount > 0) {
        FChangeHeldBack = true;
        return;
    }
    // Copy: a handler may detach a source.
    for (TDataSource* source : std::vector<TDataSource*>(FSources))
        if (std::find(FSources.begin(), FSources.end(), source) != FSources.end())
            source->DataEvent(Event);
}

} // namespace Vellaro
