#include "platform/core/FormParser.h"

#include <array>
#include <cmath>
#include <string_view>
#include <unordered_map>
#include <limits>

namespace Vellaro {

QString TFilerValue::KindName() const
{
    switch (Kind) {
    case vkInteger: return QStringLiteral("an integer");
    case vkFloat: return QStringLiteral("a number");
    case vkString: return QStringLiteral("a string");
    case vkIdent: return QStringLiteral("the identifier '%1'").arg(Text);
    case vkSet: return QStringLiteral("a set");
    case vkList: return QStringLiteral("a list");
    case vkBinary: return QStringLiteral("binary data");
    case vkCollection: return QStringLiteral("a collection");
    }
    return {};
}

namespace {

/// One token, filled in place by the lexer: an identifier views the text, a string is made.
struct TToken {
    enum TKind { tkEof, tkIdent, tkInteger, tkFloat, tkString, tkBinary, tkSymbol };
    TKind Kind = tkEof;
    int Line = 1;
    QStringView Ident;
    QString String;
    qint64 Integer = 0;
    double Float = 0;
    QByteArray Binary;
    QChar Symbol;
};

// ASCII first: form files are mostly ASCII, and the Unicode tables cost more.
bool IsAsciiLetter(char16_t u) { return (u | 0x20) >= u'a' && (u | 0x20) <= u'z'; }
bool IsIdentStart(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x80 ? IsAsciiLetter(u) || u == u'_' : c.isLetter();
}
bool IsIdentChar(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x80 ? IsAsciiLetter(u) || (u >= u'0' && u <= u'9') || u == u'_' : c.isLetterOrNumber();
}
bool IsBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x80 ? u == u' ' || (u >= u'\t' && u <= u'\r') : c.isSpace();
}
int HexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

/// Splits the text into tokens; every step consumes at least one character.
class TLexer {
public:
    explicit TLexer(const QString& text) : FChars(text.constData()), FSize(text.size()) {}

    /// Reads the next token into T.
    void Next(TToken& t)
    {
        SkipBlanks();
        t.Line = FLine;
        if (FPos >= FSize) {
            t.Kind = TToken::tkEof;
            return;
        }
        const QChar c = FChars[FPos];
        if (IsIdentStart(c))
            return Ident(t);
        if (c.isDigit() || c == u'$' || ((c == u'-' || c == u'+') && FPos + 1 < FSize && (FChars[FPos + 1].isDigit() || FChars[FPos + 1] == u'$')))
            return Number(t);
        if (c == u'\'' || c == u'#')
            return String(t);
        if (c == u'{')
            return Binary(t);
        switch (c.unicode()) {
        case u'=': case u':': case u'[': case u']': case u'(': case u')': case u',': case u'<': case u'>':
            ++FPos;
            t.Kind = TToken::tkSymbol;
            t.Symbol = c;
            return;
        default:
            break;
        }
        throw EReadError(FLine, QStringLiteral("unexpected character '%1'").arg(c.isPrint() ? QString(c) : QStringLiteral("#%1").arg(c.unicode())));
    }

private:
    // The loops below run on locals: the compiler keeps them in registers, members it would
    // store back on every character.
    void SkipBlanks()
    {
        qsizetype pos = FPos;
        int line = FLine;
        while (pos < FSize && IsBlank(FChars[pos])) {
            if (FChars[pos] == u'\n')
                ++line;
            ++pos;
        }
        FPos = pos;
        FLine = line;
    }

    void Ident(TToken& t)
    {
        const qsizetype start = FPos;
        qsizetype pos = FPos;
        for (;;) {
            while (pos < FSize && IsIdentChar(FChars[pos]))
                ++pos;
            // A dot continues a qualified name only when a name part follows it.
            if (pos + 1 < FSize && FChars[pos] == u'.' && IsIdentStart(FChars[pos + 1]))
                ++pos;
            else
                break;
        }
        FPos = pos;
        t.Kind = TToken::tkIdent;
        t.Ident = QStringView(FChars + start, FPos - start);
    }

    void Number(TToken& t)
    {
        const qsizetype start = FPos;
        bool negative = false;
        if (FChars[FPos] == u'-' || FChars[FPos] == u'+')
            negative = FChars[FPos++] == u'-';
        if (FPos < FSize && FChars[FPos] == u'$')
            return HexNumber(t, negative);
        while (FPos < FSize && FChars[FPos].isDigit())
            ++FPos;
        bool isFloat = false;
        if (FPos + 1 < FSize && FChars[FPos] == u'.' && FChars[FPos + 1].isDigit()) {
            isFloat = true;
            ++FPos;
            while (FPos < FSize && FChars[FPos].isDigit())
                ++FPos;
        }
        if (FPos < FSize && (FChars[FPos] == u'e' || FChars[FPos] == u'E')) {
            qsizetype p = FPos + 1;
            if (p < FSize && (FChars[p] == u'-' || FChars[p] == u'+'))
                ++p;
            if (p < FSize && FChars[p].isDigit()) {
                isFloat = true;
                FPos = p;
                while (FPos < FSize && FChars[FPos].isDigit())
                    ++FPos;
            }
        }
        if (!isFloat && DecimalInteger(t, start, negative))
            return;
        const QString text = QStringView(FChars + start, FPos - start).toString();
        bool ok = false;
        if (isFloat) {
            t.Kind = TToken::tkFloat;
            t.Float = text.toDouble(&ok);
            if (!ok || !std::isfinite(t.Float))
                throw EReadError(t.Line, QStringLiteral("the number %1 is out of range").arg(text));
        } else {
            t.Kind = TToken::tkInteger;
            t.Integer = text.toLongLong(&ok);
            if (!ok)
                throw EReadError(t.Line, QStringLiteral("the integer %1 is out of range").arg(text));
        }
    }

    /// An integer of ASCII digits between From (at its sign, if any) and the current position,
    /// read without a copy of its text; false leaves other digits to the general conversion.
    bool DecimalInteger(TToken& t, qsizetype from, bool negative)
    {
        const qsizetype first = from + ((FChars[from] == u'-' || FChars[from] == u'+') ? 1 : 0);
        // The magnitude may reach 2^63 only when the sign makes it the smallest integer.
        const quint64 limit = quint64(std::numeric_limits<qint64>::max()) + (negative ? 1 : 0);
        quint64 value = 0;
        for (qsizetype i = first; i < FPos; ++i) {
            const char16_t u = FChars[i].unicode();
            if (u < u'0' || u > u'9')
                return false;
            const quint64 digit = u - u'0';
            if (value > (limit - digit) / 10)
                throw EReadError(t.Line, QStringLiteral("the integer %1 is out of range").arg(QStringView(FChars + from, FPos - from)));
            value = value * 10 + digit;
        }
        t.Kind = TToken::tkInteger;
        // Negated in unsigned arithmetic, so the smallest integer needs no signed overflow.
        t.Integer = negative ? qint64(0 - value) : qint64(value);
        return true;
    }

    void HexNumber(TToken& t, bool negative)
    {
        ++FPos; // '$'
        quint64 value = 0;
        int digits = 0;
        while (FPos < FSize && HexValue(FChars[FPos]) >= 0) {
            if (++digits > 16)
                throw EReadError(t.Line, QStringLiteral("the hexadecimal integer is out of range"));
            value = value * 16 + quint64(HexValue(FChars[FPos++]));
        }
        if (digits == 0)
            throw EReadError(t.Line, QStringLiteral("expected hexadecimal digits after '$'"));
        // The digits are a magnitude that must fit a signed 64-bit integer before the sign applies.
        constexpr quint64 max = quint64(std::numeric_limits<qint64>::max());
        if (value > max)
            throw EReadError(t.Line, QStringLiteral("the hexadecimal integer %1$%2 is out of range; expected at most $7FFFFFFFFFFFFFFF")
                .arg(negative ? QStringLiteral("-") : QString(), QString::number(value, 16).toUpper()));
        t.Kind = TToken::tkInteger;
        t.Integer = negative ? -qint64(value) : qint64(value);
    }

    void String(TToken& t)
    {
        // Quoted runs ('' stands for a quote) and #code characters, written next to each other.
        t.Kind = TToken::tkString;
        t.String = QString();
        while (FPos < FSize && (FChars[FPos] == u'\'' || FChars[FPos] == u'#')) {
            if (FChars[FPos] == u'\'')
                QuotedRun(t);
            else
                CharCode(t);
        }
    }

    void QuotedRun(TToken& t)
    {
        ++FPos;
        for (;;) {
            // The characters up to the next quote or line end go in at once.
            const qsizetype from = FPos;
            qsizetype pos = FPos;
            while (pos < FSize && FChars[pos] != u'\'' && FChars[pos] != u'\n')
                ++pos;
            FPos = pos;
            // A string in one run (the usual case) is made in one step, not appended to.
            if (t.String.isNull())
                t.String = QStringView(FChars + from, pos - from).toString();
            else
                t.String += QStringView(FChars + from, pos - from);
            if (FPos >= FSize || FChars[FPos] == u'\n')
                throw EReadError(t.Line, QStringLiteral("unterminated string; expected a closing quote on the same line"));
            if (FPos + 1 < FSize && FChars[FPos + 1] == u'\'') {
                t.String += u'\'';
                FPos += 2;
                continue;
            }
            ++FPos;
            return;
        }
    }

    void CharCode(TToken& t)
    {
        ++FPos;
        quint32 code = 0;
        int digits = 0;
        while (FPos < FSize && FChars[FPos].isDigit()) {
            code = code * 10 + quint32(FChars[FPos++].digitValue());
            if (++digits > 7 || code > 0x10FFFF)
                throw EReadError(t.Line, QStringLiteral("character code out of range after '#'"));
        }
        if (digits == 0)
            throw EReadError(t.Line, QStringLiteral("expected a character code after '#'"));
        if (code <= 0xFFFF)
            t.String += QChar(char16_t(code));
        else {
            const char32_t c = code;
            t.String += QString::fromUcs4(&c, 1);
        }
    }

    void Binary(TToken& t)
    {
        ++FPos;
        t.Kind = TToken::tkBinary;
        t.Binary = QByteArray();
        int high = -1;
        for (;;) {
            if (FPos >= FSize)
                throw EReadError(t.Line, QStringLiteral("binary data not closed; expected '}'"));
            const QChar c = FChars[FPos++];
            if (c == u'}')
                break;
            if (c.isSpace()) {
                if (c == u'\n')
                    ++FLine;
                continue;
            }
            const int v = HexValue(c);
            if (v < 0)
                throw EReadError(FLine, QStringLiteral("expected hexadecimal digits in binary data"));
            if (high < 0)
                high = v;
            else {
                t.Binary.append(char(high * 16 + v));
                high = -1;
            }
        }
        if (high >= 0)
            throw EReadError(FLine, QStringLiteral("binary data has an odd number of hexadecimal digits"));
    }

private:
    /// The text's characters, read directly in the loops (the text does not change meanwhile).
    const QChar* FChars;
    qsizetype FSize;
    qsizetype FPos = 0;
    int FLine = 1;
};

/// Identifier values (enumeration names, True and False, references) as strings shared with
/// their earlier occurrences: a file repeats the same few, so each is made once.
class TSharedWords {
public:
    /// The word as a string shared with its earlier occurrences.
    QString Word(QStringView word)
    {
        // The last word seen of a similar shape answers most look-ups without hashing.
        QString& recent = FRecentWords[RecentSlot(word)];
        if (QStringView(recent) == word && !recent.isNull())
            return recent;
        recent = SharedWord(word);
        return recent;
    }

private:
    static size_t RecentSlot(QStringView word)
    {
        size_t h = size_t(word.size());
        if (!word.isEmpty())
            h = ((h * 31 + word.front().unicode()) * 31 + word.back().unicode()) * 31 + word[word.size() / 2].unicode();
        return h % RecentWords;
    }

    QString SharedWord(QStringView word)
    {
        const std::u16string_view key(word.utf16(), size_t(word.size()));
        const auto it = FWords.find(key);
        if (it != FWords.end())
            return it->second;
        QString text = word.toString();
        // Bounded: names of components referred to are mostly unique and need not be kept.
        if (FWords.size() < MaxSharedWords)
            FWords.emplace(std::u16string_view(QStringView(text).utf16(), size_t(text.size())), text);
        return text;
    }

    static constexpr size_t MaxSharedWords = 1024;
    static constexpr size_t RecentWords = 256;
    std::array<QString, RecentWords> FRecentWords;
    /// Keys view the strings they map to.
    std::unordered_map<std::u16string_view, QString> FWords;
};

QString Describe(const TToken& t)
{
    switch (t.Kind) {
    case TToken::tkEof: return QStringLiteral("the end of the file");
    case TToken::tkIdent: return QStringLiteral("'%1'").arg(t.Ident);
    case TToken::tkInteger: return QStringLiteral("the integer %1").arg(t.Integer);
    case TToken::tkFloat: return QStringLiteral("a number");
    case TToken::tkString: return QStringLiteral("a string");
    case TToken::tkBinary: return QStringLiteral("binary data");
    case TToken::tkSymbol: return QStringLiteral("'%1'").arg(t.Symbol);
    }
    return {};
}

/// Makes V a fresh value of no kind yet, keeping what it holds only when it is empty already
/// (the parser fills the same value for every property).
void Reset(TFilerValue& v)
{
    v.Kind = TFilerValue::vkInteger;
    v.Integer = 0;
    v.Float = 0;
    if (!v.Text.isNull())
        v.Text = QString();
    if (!v.Set.isEmpty())
        v.Set.clear();
    v.List.clear();
    if (!v.Binary.isNull())
        v.Binary = QByteArray();
    v.Items.clear();
}

/// Recursive descent over the tokens with one token of look-ahead.
class TParser {
public:
    explicit TParser(const QString& text) : FLexer(text) { Advance(); }

    TFormParser::THeader ObjectHeader(int depth)
    {
        if (depth >= MaxObjectDepth)
            throw EReadError(FToken.Line, QStringLiteral("objects nested more than %1 deep").arg(MaxObjectDepth));
        if (!IsWord("object"))
            throw EReadError(FToken.Line, QStringLiteral("expected 'object', found %1").arg(Describe(FToken)));
        TFormParser::THeader header;
        header.Line = FToken.Line;
        Advance();
        header.Name = ExpectIdent("a component name after 'object'");
        if (header.Name.contains(u'.'))
            throw EReadError(header.Line, QStringLiteral("expected a component name without dots, found '%1'").arg(header.Name));
        ExpectSymbol(u':', "after the component name");
        header.ClassName = ExpectIdent("a class name after ':'");
        return header;
    }

    TFormParser::TItem NextItem(QStringView objectName)
    {
        if (IsWord("end")) {
            Advance();
            return TFormParser::itEnd;
        }
        if (IsWord("object"))
            return TFormParser::itObject;
        if (FToken.Kind != TToken::tkIdent)
            throw EReadError(FToken.Line, QStringLiteral("expected a property, 'object' or 'end' in %1, found %2").arg(objectName, Describe(FToken)));
        return TFormParser::itProperty;
    }

    TFormParser::TProperty TopProperty()
    {
        FValues = 0;
        const int line = FToken.Line;
        const QStringView name = PropertyName();
        Reset(FValue);
        Value(FValue, 0);
        return {name, FValue, line};
    }

    void EndOfFile()
    {
        if (FToken.Kind != TToken::tkEof)
            throw EReadError(FToken.Line, QStringLiteral("expected the end of the file after the root object's 'end', found %1").arg(Describe(FToken)));
    }

private:
    void Advance() { FLexer.Next(FToken); }

    bool IsWord(const char* word) const
    {
        // Word is lower-case ASCII letters: ASCII text compares letter by letter; other text
        // goes through the full case folding.
        if (FToken.Kind != TToken::tkIdent)
            return false;
        const QStringView text = FToken.Ident;
        qsizetype i = 0;
        for (; word[i]; ++i) {
            if (i >= text.size())
                return false;
            const char16_t u = text[i].unicode();
            if (u >= 0x80)
                return text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
            if ((u | 0x20) != char16_t(word[i]))
                return false;
        }
        return i == text.size();
    }
    bool IsSymbol(char16_t c) const { return FToken.Kind == TToken::tkSymbol && FToken.Symbol == QChar(c); }

    void ExpectSymbol(char16_t c, const char* after)
    {
        if (!IsSymbol(c))
            throw EReadError(FToken.Line, QStringLiteral("expected '%1' %2, found %3").arg(QChar(c)).arg(QLatin1String(after)).arg(Describe(FToken)));
        Advance();
    }

    /// The identifier, as a view of the text.
    QStringView ExpectIdent(const char* what)
    {
        if (FToken.Kind != TToken::tkIdent)
            throw EReadError(FToken.Line, QStringLiteral("expected %1, found %2").arg(QLatin1String(what)).arg(Describe(FToken)));
        const QStringView text = FToken.Ident;
        Advance();
        return text;
    }

    /// Counts one more value of the current property against MaxPropertyValues.
    void CountValue()
    {
        if (++FValues > MaxPropertyValues)
            throw EReadError(FToken.Line, QStringLiteral("a property holds more than %1 values").arg(MaxPropertyValues));
    }

    /// A property's name and the '=' after it.
    QStringView PropertyName()
    {
        const QStringView name = ExpectIdent("a property name");
        ExpectSymbol(u'=', "after the property name");
        return name;
    }

    /// A property of a collection item, whose value sits Depth levels below the object's own
    /// properties.
    TFilerProperty ItemProperty(int depth)
    {
        TFilerProperty p;
        p.Line = FToken.Line;
        p.Name = PropertyName().toString();
        Value(p.Value, depth);
        return p;
    }

    /// Reads a value into V, which is fresh.
    void Value(TFilerValue& v, int depth)
    {
        if (depth >= MaxValueDepth)
            throw EReadError(FToken.Line, QStringLiteral("values nested more than %1 deep").arg(MaxValueDepth));
        CountValue();
        v.Line = FToken.Line;
        switch (FToken.Kind) {
        case TToken::tkInteger: v.Kind = TFilerValue::vkInteger; v.Integer = FToken.Integer; Advance(); return;
        case TToken::tkFloat: v.Kind = TFilerValue::vkFloat; v.Float = FToken.Float; Advance(); return;
        case TToken::tkString: v.Kind = TFilerValue::vkString; v.Text = std::move(FToken.String); Advance(); return;
        case TToken::tkIdent: v.Kind = TFilerValue::vkIdent; v.Text = FWords.Word(FToken.Ident); Advance(); return;
        case TToken::tkBinary: v.Kind = TFilerValue::vkBinary; v.Binary = std::move(FToken.Binary); Advance(); return;
        case TToken::tkSymbol:
            if (IsSymbol(u'['))
                return Set(v);
            if (IsSymbol(u'('))
                return List(v, depth);
            if (IsSymbol(u'<'))
                return Collection(v, depth);
            break;
        case TToken::tkEof:
            break;
        }
        throw EReadError(FToken.Line, QStringLiteral("expected a value, found %1").arg(Describe(FToken)));
    }

    void Set(TFilerValue& v)
    {
        v.Kind = TFilerValue::vkSet;
        Advance();
        if (IsSymbol(u']')) {
            Advance();
            return;
        }
        for (;;) {
            CountValue();
            v.Set << FWords.Word(ExpectIdent("an element name in the set"));
            if (IsSymbol(u']')) {
                Advance();
                return;
            }
            ExpectSymbol(u',', "or ']' in the set");
        }
    }

    void List(TFilerValue& v, int depth)
    {
        v.Kind = TFilerValue::vkList;
        Advance();
        while (!IsSymbol(u')')) {
            if (FToken.Kind == TToken::tkEof)
                throw EReadError(FToken.Line, QStringLiteral("list not closed; expected ')'"));
            Value(v.List.emplace_back(), depth + 1);
        }
        Advance();
    }

    void Collection(TFilerValue& v, int depth)
    {
        v.Kind = TFilerValue::vkCollection;
        Advance();
        while (!IsSymbol(u'>')) {
            if (!IsWord("item"))
                throw EReadError(FToken.Line, QStringLiteral("expected 'item' or '>' in the collection, found %1").arg(Describe(FToken)));
            CountValue();
            Advance();
            std::vector<TFilerProperty> item;
            while (!IsWord("end")) {
                if (FToken.Kind != TToken::tkIdent)
                    throw EReadError(FToken.Line, QStringLiteral("expected a property or 'end' in the collection item, found %1").arg(Describe(FToken)));
                item.push_back(ItemProperty(depth + 1));
            }
            Advance();
            v.Items.push_back(std::move(item));
        }
        Advance();
    }

    TLexer FLexer;
    TToken FToken;
    TSharedWords FWords;
    /// The value of the property read last.
    TFilerValue FValue;
    int FValues = 0;
};

TFilerObject ObjectTree(TFormParser& parser, const TFormParser::THeader& header, int depth)
{
    TFilerObject obj;
    obj.Name = header.Name.toString();
    obj.ClassName = header.ClassName.toString();
    obj.Line = header.Line;
    for (;;) {
        switch (parser.NextItem(obj.Name)) {
        case TFormParser::itEnd: return obj;
        case TFormParser::itObject: obj.Children.push_back(ObjectTree(parser, parser.ReadObjectHeader(depth + 1), depth + 1)); break;
        case TFormParser::itProperty: {
            const TFormParser::TProperty p = parser.ReadProperty();
            obj.Properties.push_back({p.Name.toString(), p.Value, p.Line});
            break;
        }
        }
    }
}

} // namespace

struct TFormParser::TState {
    explicit TState(const QString& text) : Parser(text) {}
    TParser Parser;
};

TFormParser::TFormParser(const QString& Text)
{
    // A QString holds at least one character per byte of the UTF-8 it came from, so a text
    // longer than the limit in characters came from a file beyond the limit in bytes.
    CheckFormFileSize(Text.size());
    FState = std::make_unique<TState>(Text);
}

TFormParser::~TFormParser() = default;

TFormParser::THeader TFormParser::ReadObjectHeader(int Depth)
{
    return FState->Parser.ObjectHeader(Depth);
}

TFormParser::TItem TFormParser::NextItem(QStringView ObjectName)
{
    return FState->Parser.NextItem(ObjectName);
}

TFormParser::TProperty TFormParser::ReadProperty()
{
    return FState->Parser.TopProperty();
}

void TFormParser::ReadEndOfFile()
{
    FState->Parser.EndOfFile();
}

TFilerObject ParseForm(const QString& text)
{
    TFormParser parser(text);
    TFilerObject root = ObjectTree(parser, parser.ReadObjectHeader(0), 0);
    parser.ReadEndOfFile();
    return root;
}

void CheckFormFileSize(qint64 Bytes)
{
    if (Bytes > MaxFormFileBytes)
        throw EReadError(1, QStringLiteral("the form file is %1 bytes; the limit is %2 bytes (64 MiB)").arg(Bytes).arg(MaxFormFileBytes));
}

} // namespace Vellaro
