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
    if (FTableName.isEmpty())
        throw EDatabaseError(QStringLiteral("Nothing to open: the data set has neither a table name nor SQL text"));
    return QStringLiteral("SELECT * FROM %1").arg(db.driver()->escapeIdentifier(FTableName, QSqlDriver::TableName));
}

QString TDataSet::OrderedSelectText(const QSqlDatabase& db) const
{
    // Windows are read by separate statements; a stable order keeps them consistent.
    const QString select = SelectText(db);
    return FKeyNames.isEmpty() ? select : select + QStringLiteral(" ORDER BY ") + KeyList(db);
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

void TDataSet::Open()
{
    if (FActive)
        return;
    QSqlDatabase db = Database();
    FindKey(db);
    const int count = CountRows(db);
    TWindow window = ReadWindow(0);
    FRecordCount = count;
    FWindow = std::move(window);
    FActive = true;
    FRecNo = FRecordCount > 0 ? 1 : 0;
    FEof = FRecordCount == 0;
    Notify(TDataEvent::ActiveChanged);
}

void TDataSet::Close()
{
    if (!FActive)
        return;
    FActive = false;
    FRecordCount = 0;
    FRecNo = 0;
    FEof = true;
    FWindow = TWindow();
    Notify(TDataEvent::ActiveChanged);
}

void TDataSet::Refresh()
{
    RequireActive("refresh");
    QSqlDatabase db = Database();
    const int count = CountRows(db);
    const int recNo = std::min(std::max(FRecNo, 1), count);
    TWindow window = recNo > 0 ? ReadWindow(recNo - 1) : TWindow();
    if (recNo > 0 && !window.Holds(recNo - 1))
        throw EDatabaseError(QStringLiteral("The data changed while it was read again; refresh once more"));
    FRecordCount = count;
    FRecNo = recNo;
    FEof = count == 0;
    FWindow = std::move(window);
    DataChanged();
}

// ---- Fields ---------------------------------------------------------------------------------

void TDataSet::BuildFields(const QSqlRecord& record)
{
    FFieldKeys.clear();
    for (const QString& name : FKeyNames)
        if (record.indexOf(name) >= 0)
            FFieldKeys.push_back(record.indexOf(name));
    // The same columns as before keep their fields and display settings.
    bool same = int(FFields.size()) == record.count();
    for (int i = 0; same && i < record.count(); ++i)
        same = FFields[size_t(i)]->FieldName() == record.fieldName(i);
    if (same)
        return;
    FFields.clear();
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField field = record.field(i);
        FFields.push_back(std::make_unique<TField>(this, i, field.name(), FieldTypeOf(field.metaType()), field.length()));
    }
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

bool TDataSet::ExecWindowQuery(QSqlQuery& query, const QSqlDatabase& db, int first) const
{
    const int keyCount = int(FKeyNames.size());
    const int fieldCount = FieldCount();
    const bool follows = keyCount > 0 && FWindow.Rows == FWindowSize && first == FWindow.First + FWindow.Rows
        && FFieldKeys.size() == size_t(keyCount);
    if (!follows) {
        const QString window = ReadsQuery() ? QStringLiteral("SELECT * FROM (%1\n) vellaro_rows").arg(SelectText(db))
                                            : OrderedSelectText(db);
        return query.exec(QStringLiteral("%1 LIMIT %2 OFFSET %3").arg(window).arg(FWindowSize).arg(first));
    }
    // The window right after the one held starts after its last key: no rows are skipped
    // over, so reading a table front to back costs the same for every window.
    QStringList marks;
    for (int i = 0; i < keyCount; ++i)
        marks << QStringLiteral("?");
    const QString keys = KeyList(db);
    query.prepare(QStringLiteral("%1 WHERE (%2) > (%3) ORDER BY %2 LIMIT %4")
                      .arg(SelectText(db), keys, marks.join(QLatin1String(", ")))
                      .arg(FWindowSize));
    const size_t lastRow = size_t(FWindow.Rows - 1) * size_t(fieldCount);
    for (int i = 0; i < keyCount; ++i)
        query.bindValue(i, FWindow.Values[lastRow + size_t(FFieldKeys[size_t(i)])]);
    return query.exec();
}

TDataSet::TWindow TDataSet::ReadWindow(int Index)
{
    TWindow window;
    window.First = Index / FWindowSize * FWindowSize;
    QSqlDatabase db = Database();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!ExecWindowQuery(query, db, window.First))
        throw EDatabaseError(QStringLiteral("Cannot read the rows from %1: %2").arg(window.First + 1).arg(query.lastError().text()));
    const QSqlRecord record = query.record();
    if (FActive && record.count() != FieldCount())
        throw EDatabaseError(QStringLiteral("The columns have changed since the data set was opened"));
    if (!FActive)
        BuildFields(record);
    window.Values.reserve(size_t(FWindowSize) * size_t(record.count()));
    while (query.next()) {
        for (int i = 0; i < record.count(); ++i)
            window.Values.push_back(query.value(i));
        ++window.Rows;
    }
    if (query.lastError().isValid())
        throw EDatabaseError(QStringLiteral("Cannot read the rows from %1: %2").arg(window.First + 1).arg(query.lastError().text()));
    return window;
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
        FWindow = std::move(window);
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
    const size_t row = size_t(FRecNo - 1 - FWindow.First);
    return FWindow.Values[row * size_t(FieldCount()) + size_t(FieldIndex)];
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
