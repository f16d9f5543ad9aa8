#include "platform/core/Strings.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace Vellaro {

// ---- TStrings ---------------------------------------------------------------------------

void TStrings::CheckIndex(int Index, int Limit) const
{
    if (Index < 0 || Index >= Limit)
        throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

QString TStrings::Strings(int Index) const
{
    CheckIndex(Index, Count());
    return Get(Index);
}

void TStrings::SetStrings(int Index, const QString& S)
{
    CheckIndex(Index, Count());
    Put(Index, S);
    Changed();
}

int TStrings::Add(const QString& S)
{
    const int index = Count();
    Insert(index, S);
    return index;
}

void TStrings::Insert(int Index, const QString& S)
{
    CheckIndex(Index, Count() + 1);
    InsertItem(Index, S);
    Changed();
}

void TStrings::Delete(int Index)
{
    CheckIndex(Index, Count());
    DeleteItem(Index);
    Changed();
}

void TStrings::Clear()
{
    if (Count() == 0)
        return;
    ClearItems();
    Changed();
}

int TStrings::IndexOf(const QString& S) const
{
    const int count = Count();
    for (int i = 0; i < count; ++i)
        if (Get(i) == S)
            return i;
    return -1;
}

QStringList TStrings::ToStringList() const
{
    QStringList lines;
    const int count = Count();
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines << Get(i);
    return lines;
}

void TStrings::ReplaceAll(const QStringList& lines)
{
    ClearItems();
    for (int i = 0; i < lines.size(); ++i)
        InsertItem(i, lines[i]);
}

void TStrings::SetStringList(const QStringList& lines)
{
    ReplaceAll(lines);
    Changed();
}

QString TStrings::Text() const
{
    QString text;
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        text += Get(i);
        text += QLatin1Char('\n');
    }
    return text;
}

void TStrings::SetText(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < length && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < length)
        lines << text.mid(start);
    SetStringList(lines);
}

void TStrings::Assign(const TStrings* source)
{
    if (!source || source == this)
        return;
    SetStringList(source->ToStringList());
}

void TStrings::LoadFromFile(const QString& FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\": %2").arg(FileName, file.errorString()));
    SetText(DecodeTextFile(file.readAll()));
}

void TStrings::SaveToFile(const QString& FileName) const
{
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\": %2").arg(FileName, file.errorString()));
    file.write("\xEF\xBB\xBF");
    file.write(Text().toUtf8());
    if (!file.commit())
        throw EFCreateError(QStringLiteral("Cannot write file \"%1\": %2").arg(FileName, file.errorString()));
}

void TStrings::BeginUpdate()
{
    ++FUpdateCount;
}

void TStrings::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0 && FChangedWhileUpdating) {
        FChangedWhileUpdating = false;
        if (FOnChange)
            FOnChange(this);
    }
}

void TStrings::Changed()
{
    if (FUpdateCount > 0) {
        FChangedWhileUpdating = true;
        return;
    }
    if (FOnChange)
        FOnChange(this);
}

// ---- Decoding ---------------------------------------------------------------------------

namespace {
// The characters Windows-1252 puts at 0x80..0x9F (0 where the page leaves a gap; the byte
// then stands for the control character of the same number, as ISO 8859-1 has it).
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

QString DecodeCp1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        const char16_t mapped = (b >= 0x80 && b <= 0x9F) ? Cp1252High[b - 0x80] : 0;
        *out++ = QChar(mapped ? mapped : char16_t(b));
    }
    return text;
}
} // namespace

QString DecodeCodePage(const QByteArray& bytes, int codePage)
{
    switch (codePage) {
    case 1252:
        return DecodeCp1252(bytes);
    case 28591:
        return QString::fromLatin1(bytes);
    case 65001:
        return QString::fromUtf8(bytes);
    default:
        break;
    }
    QStringDecoder decoder(QStringLiteral("windows-%1").arg(codePage).toLatin1().constData());
    if (decoder.isValid()) {
        QString text = decoder.decode(bytes);
        if (!decoder.hasError())
            return text;
    }
    return DecodeCp1252(bytes);
}

QString DecodeTextFile(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        return decoder.decode(bytes.mid(2));
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return DecodeCp1252(bytes);
}

} // namespace Vellaro
