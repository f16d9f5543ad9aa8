#include "platform/data/Field.h"

#include "platform/data/DataSet.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <algorithm>

namespace Vellaro {

namespace {
int DefaultDisplayWidth(TFieldType type, int size)
{
    switch (type) {
    case ftString: return size > 0 ? size : 20;
    case ftInteger: return 10;
    case ftLargeint: return 15;
    case ftFloat: return 10;
    case ftBoolean: return 5;
    case ftDate: return 10;
    case ftTime: return 8;
    case ftDateTime: return 19;
    case ftBlob: return 10;
    case ftUnknown: break;
    }
    return 20;
}

bool IsNumeric(TFieldType type)
{
    return type == ftInteger || type == ftLargeint || type == ftFloat;
}

/// One line: line breaks become spaces, and the text stops at MaxDisplayLength characters.
QString OneLine(QString text)
{
    if (text.size() > TField::MaxDisplayLength) {
        text.truncate(TField::MaxDisplayLength - 1);
        text += QChar(0x2026); // the ellipsis says that the value goes on
    }
    for (QChar& c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    return text;
}
} // namespace

TFieldType FieldTypeOf(QMetaType type)
{
    switch (type.id()) {
    case QMetaType::QString:
    case QMetaType::QChar:
        return ftString;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return ftInteger;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
        return ftLargeint;
    case QMetaType::Double:
    case QMetaType::Float:
        return ftFloat;
    case QMetaType::Bool: return ftBoolean;
    case QMetaType::QDate: return ftDate;
    case QMetaType::QTime: return ftTime;
    case QMetaType::QDateTime: return ftDateTime;
    case QMetaType::QByteArray: return ftBlob;
    default: return ftUnknown;
    }
}

TField::TField(TDataSet* DataSet, int Index, QString FieldName, TFieldType DataType, int Size)
    : FDataSet(DataSet)
    , FIndex(Index)
    , FFieldName(std::move(FieldName))
    , FDataType(DataType)
    , FSize(Size > 0 ? Size : 0)
    , FDisplayWidth(DefaultDisplayWidth(DataType, Size))
    , FAlignment(IsNumeric(DataType) ? taRightJustify : taLeftJustify)
{
}

void TField::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    try {
        FDataSet->FieldVisibilityChanged(); // the columns read follow what is shown
    } catch (...) {
        FVisible = !Value;
        throw;
    }
}

void TField::SetDisplayWidth(int Value)
{
    Value = std::max(Value, 0);
    if (Value == FDisplayWidth)
        return;
    FDisplayWidth = Value;
    Changed();
}

void TField::SetDisplayLabel(const QString& Value)
{
    if (Value == DisplayLabel())
        return;
    FDisplayLabel = Value;
    Changed();
}

void TField::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    Changed();
}

void TField::Changed()
{
    FDataSet->DataChanged();
}

QVariant TField::Value() const
{
    return FDataSet->CurrentValue(FIndex);
}

QString TField::DisplayText() const
{
    const QVariant value = Value();
    if (value.isNull())
        return QString();
    // The value's own type decides: SQLite keeps a type per value, not per column.
    switch (value.typeId()) {
    case QMetaType::QByteArray:
        return QStringLiteral("(binary, %1 bytes)").arg(value.toByteArray().size());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default:
        return OneLine(value.toString());
    }
}

} // namespace Vellaro
