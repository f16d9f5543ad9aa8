#include "platform/core/NameKey.h"

namespace Vellaro {

size_t FoldedNameHash(QStringView s, size_t seed) noexcept
{
    // FNV-1a over the folded code points (the folding QString::compare uses).
    size_t hash = seed ^ size_t(0xcbf29ce484222325ull);
    for (qsizetype i = 0; i < s.size(); ++i) {
        char32_t c = s[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), s[++i].unicode());
        if (c < 0x80)
            c = (c >= u'A' && c <= u'Z') ? c + 32 : c;
        else
            c = QChar::toCaseFolded(c);
        hash = (hash ^ size_t(c)) * size_t(0x100000001b3ull);
    }
    return hash;
}

} // namespace Vellaro
