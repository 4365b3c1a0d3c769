// The key is walked over the text's units once, keeping how much of the key
// the units just read match: on a mismatch the match falls back to the
// longest start of the key that still fits, so no unit is read twice. The
// case mapping is applied unit by unit while walking; no mapped copy of the
// text is made.

#include "controls/base/ExTextSearch.h"

#include <QChar>

#include <array>
#include <cstdint>
#include <algorithm>

namespace {

// The letters whose upper case is not one letter of their own ("ß" gives
// "SS", "ﬁ" gives "FI"), found once from the toolkit's whole-text mapping.
struct TUpperTable {
    std::vector<std::uint8_t> Count = std::vector<std::uint8_t>(0x10000, 0);
    std::vector<std::array<char16_t, 3>> Units = std::vector<std::array<char16_t, 3>>(0x10000);

    TUpperTable()
    {
        for (char32_t c = 0x80; c < 0x10000; ++c) {
            if (QChar::isSurrogate(c))
                continue;
            const QString up = QString(QChar(char16_t(c))).toUpper();
            if (up.size() == 1 && up[0].unicode() == QChar::toUpper(c))
                continue;
            const qsizetype n = std::min<qsizetype>(up.size(), 3);
            Count[c] = std::uint8_t(n);
            for (qsizetype i = 0; i < n; ++i)
                Units[c][std::size_t(i)] = up[i].unicode();
        }
    }
};

const TUpperTable& UpperTable()
{
    static const TUpperTable table;
    return table;
}

// Calls Fn (unit, position of its character, first unit of the character,
// last unit of the character) for every mapped unit of Text from From, until
// Fn returns false.
template <class Fn> void ForEachUnit(QStringView Text, qsizetype From, TTextCase Case, Fn&& fn)
{
    const qsizetype n = Text.size();
    const char16_t* t = Text.utf16();
    switch (Case) {
    case TTextCase::Exact:
        for (qsizetype i = From; i < n; ++i)
            if (!fn(t[i], i, true, true))
                return;
        return;
    case TTextCase::UpperEach:
        for (qsizetype i = From; i < n; ++i) {
            const char16_t c = t[i];
            const char16_t u = c < 0x80 ? (c >= u'a' && c <= u'z' ? char16_t(c - 32) : c) : QChar(c).toUpper().unicode();
            if (!fn(u, i, true, true))
                return;
        }
        return;
    case TTextCase::Upper:
        break;
    }
    const TUpperTable& table = UpperTable();
    for (qsizetype i = From; i < n; ++i) {
        const char16_t c = t[i];
        if (c < 0x80) {
            if (!fn(c >= u'a' && c <= u'z' ? char16_t(c - 32) : c, i, true, true))
                return;
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(t[i + 1])) {
            const char32_t up = QChar::toUpper(QChar::surrogateToUcs4(c, t[i + 1]));
            const qsizetype at = i++;
            if (QChar::requiresSurrogates(up)) {
                if (!fn(QChar::highSurrogate(up), at, true, false) || !fn(QChar::lowSurrogate(up), at, false, true))
                    return;
            } else if (!fn(char16_t(up), at, true, true)) {
                return;
            }
            continue;
        }
        if (const int k = table.Count[c]) {
            for (int j = 0; j < k; ++j)
                if (!fn(table.Units[c][std::size_t(j)], i, j == 0, j == k - 1))
                    return;
            continue;
        }
        const char32_t up = QChar::toUpper(char32_t(c));
        if (QChar::requiresSurrogates(up)) {
            if (!fn(QChar::highSurrogate(up), i, true, false) || !fn(QChar::lowSurrogate(up), i, false, true))
                return;
        } else if (!fn(char16_t(up), i, true, true)) {
            return;
        }
    }
}

// A key this short is searched for by the toolkit's own search: its worst
// case is bounded by the key's length times the text's.
constexpr qsizetype ShortKey = 32;

} // namespace

QString UpperText(QStringView Text)
{
    QString out;
    out.reserve(Text.size());
    ForEachUnit(Text, 0, TTextCase::Upper, [&](char16_t u, qsizetype, bool, bool) {
        out += QChar(u);
        return true;
    });
    return out;
}

TTextMatcher::TTextMatcher(QStringView Key, TTextCase Case)
    : FCase(Case)
{
    if (Case == TTextCase::Exact) {
        FKey = Key.toString();
    } else {
        FKey.reserve(Key.size());
        ForEachUnit(Key, 0, Case, [&](char16_t u, qsizetype, bool, bool) {
            FKey += QChar(u);
            return true;
        });
    }
    const qsizetype m = FKey.size();
    FBack.assign(std::size_t(m), 0);
    const char16_t* k = QStringView(FKey).utf16();
    int b = 0;
    for (qsizetype i = 1; i < m; ++i) {
        while (b > 0 && k[i] != k[b])
            b = FBack[std::size_t(b - 1)];
        if (k[i] == k[b])
            ++b;
        FBack[std::size_t(i)] = b;
    }
}

bool TTextMatcher::In(QStringView Text) const
{
    const qsizetype m = FKey.size();
    if (m == 0)
        return true;
    if (FCase == TTextCase::Exact && m <= ShortKey)
        return Text.contains(FKey, Qt::CaseSensitive);
    const char16_t* k = QStringView(FKey).utf16();
    int got = 0;
    bool found = false;
    ForEachUnit(Text, 0, FCase, [&](char16_t u, qsizetype, bool, bool) {
        while (got > 0 && k[got] != u)
            got = FBack[std::size_t(got - 1)];
        if (k[got] == u && ++got == m) {
            found = true;
            return false;
        }
        return true;
    });
    return found;
}

bool TTextMatcher::StartOf(QStringView Text) const
{
    const qsizetype m = FKey.size();
    if (FCase == TTextCase::Exact)
        return Text.startsWith(FKey, Qt::CaseSensitive);
    const char16_t* k = QStringView(FKey).utf16();
    qsizetype got = 0;
    ForEachUnit(Text, 0, FCase, [&](char16_t u, qsizetype, bool, bool) {
        if (got == m || k[got] != u)
            return false;
        ++got;
        return true;
    });
    return got == m;
}

bool TTextMatcher::Equals(QStringView Text) const
{
    const qsizetype m = FKey.size();
    if (FCase == TTextCase::Exact)
        return Text == QStringView(FKey);
    const char16_t* k = QStringView(FKey).utf16();
    qsizetype got = 0;
    bool same = true;
    ForEachUnit(Text, 0, FCase, [&](char16_t u, qsizetype, bool, bool) {
        same = got < m && k[got] == u;
        ++got;
        return same;
    });
    return same && got == m;
}

qsizetype TTextMatcher::IndexIn(QStringView Text, qsizetype From, qsizetype* End) const
{
    const qsizetype m = FKey.size();
    From = std::max<qsizetype>(From, 0);
    if (m == 0 || From >= Text.size())
        return -1;
    if (FCase == TTextCase::Exact && m <= ShortKey) {
        const qsizetype at = Text.indexOf(FKey, From, Qt::CaseSensitive);
        if (at >= 0 && End)
            *End = at + m;
        return at;
    }
    // Only the whole-text upper case can map one character to several units:
    // elsewhere a unit's place in the text is its place in the walk.
    const bool ring = FCase == TTextCase::Upper;
    if (ring)
        FRing.resize(std::size_t(m));
    const char16_t* k = QStringView(FKey).utf16();
    int got = 0;
    qsizetype walked = 0;
    qsizetype result = -1;
    ForEachUnit(Text, From, FCase, [&](char16_t u, qsizetype pos, bool first, bool last) {
        if (ring)
            FRing[std::size_t(walked % m)] = { pos, first };
        ++walked;
        while (got > 0 && k[got] != u)
            got = FBack[std::size_t(got - 1)];
        if (k[got] != u || ++got < m)
            return true;
        // A match that starts or ends inside one character's upper case
        // cannot be replaced on its own: look further.
        const TUnitSource start = ring ? FRing[std::size_t(walked % m)] : TUnitSource { pos - m + 1, true };
        got = FBack[std::size_t(got - 1)];
        if (!last || !start.First)
            return true;
        result = start.Pos;
        if (End) {
            qsizetype after = pos + 1;
            if (after < Text.size() && QChar::isHighSurrogate(Text[pos].unicode())
                && QChar::isLowSurrogate(Text[after].unicode()))
                ++after;
            *End = after;
        }
        return false;
    });
    return result;
}
