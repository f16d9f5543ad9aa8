#pragma once
// A field: one column of a data set, with the settings that decide how it is shown (label,
// width in characters, alignment, visibility) and the text of its value in the current record.

#include "platform/controls/Alignment.h"
#include "platform/core/Types.h"

#include <QObject>
#include <QString>
#include <QVariant>

namespace Vellaro {

namespace DataTypes {
Q_NAMESPACE_EXPORT(VELLARO_EXPORT)
/// The kind of value a field holds, as the database driver reports the column.
enum TFieldType { ftUnknown, ftString, ftInteger, ftLargeint, ftFloat, ftBoolean, ftDate, ftTime, ftDateTime, ftBlob };
Q_ENUM_NS(TFieldType)
} // namespace DataTypes
using namespace DataTypes;

/// Raised by data sets: no connection, a query the database refuses, a closed data set.
class VELLARO_EXPORT EDatabaseError : public Exception {
    using Exception::Exception;
};

class TDataSet;

/// One column of a data set. Fields belong to their data set; they keep their display settings
/// while the data set is closed and opened again on the same columns.
class VELLARO_EXPORT TField {
public:
    /// Longest display text: a one-line cell never shows more, and a huge value must not be
    /// laid out whole for every cell it is printed in.
    static constexpr int MaxDisplayLength = 1000;

    TField(TDataSet* DataSet, int Index, QString FieldName, TFieldType DataType, int Size);
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    TDataSet* DataSet() const { return FDataSet; }
    /// Position among the data set's fields, from 0.
    int Index() const { return FIndex; }
    QString FieldName() const { return FFieldName; }
    TFieldType DataType() const { return FDataType; }
    /// Declared length of a text column, 0 when the driver reports none.
    int Size() const { return FSize; }

    // Display settings; changing one tells the data set's links that its layout changed.
    /// Only the columns of visible fields (and a table's key) are read: showing or hiding a
    /// field reads the current window again, and a hidden field has no value.
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    /// Width in characters; by default the declared length of a text column, else by type.
    int DisplayWidth() const { return FDisplayWidth; }
    void SetDisplayWidth(int Value);
    /// Column title; the field name unless set.
    QString DisplayLabel() const { return FDisplayLabel.isEmpty() ? FFieldName : FDisplayLabel; }
    void SetDisplayLabel(const QString& Value);
    /// Right for numbers, left for everything else unless set.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

    /// The value in the data set's current record; null without one.
    QVariant Value() const;
    bool IsNull() const { return Value().isNull(); }
    /// The value as one line of text: empty for NULL and without a current record, a note
    /// with the size for binary data, at most MaxDisplayLength characters.
    QString DisplayText() const;

private:
    void Changed();

    TDataSet* FDataSet;
    int FIndex;
    QString FFieldName;
    TFieldType FDataType;
    int FSize;
    bool FVisible = true;
    int FDisplayWidth;
    QString FDisplayLabel;
    TAlignment FAlignment;
};

/// The field type for a value type reported by a Qt SQL driver.
VELLARO_EXPORT TFieldType FieldTypeOf(QMetaType type);

} // namespace Vellaro
