#pragma once
// String lists: TStrings is the interface every list of text lines offers (the rich edit's
// lines are one), TStringList keeps its lines in memory. Files are read as UTF-8 or UTF-16
// when they say so (a byte order mark) or are valid UTF-8, else as Windows-1252 text; they are
// written as UTF-8 with a byte order mark.

#include "platform/core/Types.h"

#include <QByteArray>
#include <QStringList>
#include <functional>

namespace Vellaro {

class TStrings;
/// Raised after a change to a list, with the list that changed.
using TStringsNotifyEvent = std::function<void(TStrings* Sender)>;

/// A list index outside the list.
class VELLARO_EXPORT EStringListError : public Exception {
    using Exception::Exception;
};
/// A file that cannot be opened for reading or created for writing.
class VELLARO_EXPORT EFOpenError : public Exception {
    using Exception::Exception;
};
class VELLARO_EXPORT EFCreateError : public Exception {
    using Exception::Exception;
};

/// A list of text lines. Descendants store the lines; this class builds everything else on
/// their five operations. OnChange fires after each change, or once at the end of an
/// update bracket (BeginUpdate / EndUpdate) in which something changed.
class VELLARO_EXPORT TStrings {
public:
    TStrings() = default;
    virtual ~TStrings() = default;
    TStrings(const TStrings&) = delete;
    TStrings& operator=(const TStrings&) = delete;

    virtual int Count() const = 0;
    /// The line at index; raises EStringListError outside 0..Count-1.
    QString Strings(int Index) const;
    /// Replaces the line at index; raises EStringListError outside 0..Count-1.
    void SetStrings(int Index, const QString& S);
    QString operator[](int Index) const { return Strings(Index); }

    /// Appends a line and returns its index.
    int Add(const QString& S);
    /// Inserts a line before index (Count appends); raises EStringListError outside 0..Count.
    void Insert(int Index, const QString& S);
    /// Removes the line at index; raises EStringListError outside 0..Count-1.
    void Delete(int Index);
    void Clear();
    /// The index of the first line equal to S, or -1.
    int IndexOf(const QString& S) const;

    /// Every line followed by a line break.
    QString Text() const;
    /// Replaces the lines by those of text, split at CR LF, LF or CR; a final line break does
    /// not make an empty last line.
    void SetText(const QString& text);
    QStringList ToStringList() const;
    void SetStringList(const QStringList& lines);
    /// Copies the lines of source (nothing for a null source or the list itself).
    void Assign(const TStrings* source);
    bool Equals(const TStrings& other) const { return ToStringList() == other.ToStringList(); }

    /// Reads the file (see the unit comment); raises EFOpenError when it cannot be read.
    void LoadFromFile(const QString& FileName);
    /// Writes the lines as UTF-8 with a byte order mark; raises EFCreateError on failure.
    void SaveToFile(const QString& FileName) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    TStringsNotifyEvent OnChange() const { return FOnChange; }
    void SetOnChange(TStringsNotifyEvent e) { FOnChange = std::move(e); }

protected:
    virtual QString Get(int Index) const = 0;
    virtual void Put(int Index, const QString& S) = 0;
    virtual void InsertItem(int Index, const QString& S) = 0;
    virtual void DeleteItem(int Index) = 0;
    virtual void ClearItems() = 0;
    /// Replaces every line at once; the default clears and inserts one by one.
    virtual void ReplaceAll(const QStringList& lines);
    /// Tells about a change: now, or at the end of the update bracket.
    void Changed();

private:
    void CheckIndex(int Index, int Limit) const;

    int FUpdateCount = 0;
    bool FChangedWhileUpdating = false;
    TStringsNotifyEvent FOnChange;
};

/// A list of lines held in memory.
class VELLARO_EXPORT TStringList : public TStrings {
public:
    TStringList() = default;
    explicit TStringList(const QStringList& lines) : FList(lines) {}
    int Count() const override { return int(FList.size()); }

protected:
    QString Get(int Index) const override { return FList.at(Index); }
    void Put(int Index, const QString& S) override { FList[Index] = S; }
    void InsertItem(int Index, const QString& S) override { FList.insert(Index, S); }
    void DeleteItem(int Index) override { FList.removeAt(Index); }
    void ClearItems() override { FList.clear(); }
    void ReplaceAll(const QStringList& lines) override { FList = lines; }

private:
    QStringList FList;
};

/// Decodes the bytes of a text file: by its byte order mark (UTF-8, UTF-16), as UTF-8 when they
/// are valid UTF-8, else as Windows-1252.
VELLARO_EXPORT QString DecodeTextFile(const QByteArray& bytes);
/// Decodes 8-bit text in a Windows code page; 1252 and the ISO 8859-1 range are built in, other
/// pages go through Qt's converters when it has them and fall back to 1252.
VELLARO_EXPORT QString DecodeCodePage(const QByteArray& bytes, int codePage);

} // namespace Vellaro
