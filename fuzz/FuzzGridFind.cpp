// Finds, replaces and searches incrementally in a small string grid with an
// arbitrary key, arbitrary cell texts and arbitrary find options, and filters
// the cells with the key as a plain pattern. Input: fields separated by byte
// 1: the first field's first two bytes are the find options, then the key,
// then the four cell texts, then the replacement. Long keys and long cells
// must stay quick: the run's time-out is short and the inputs may be large.
// The answers agree with plain upper-casing and searching (checked where
// the plain search is affordable), a find never leaves the range and a
// replace counts each changed cell once.

#include "FuzzSupport.h"
#include "controls/base/EsgHTMLE.h"
#include "controls/base/ExTextSearch.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"

#include <QApplication>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {

using G = TExStringGrid;

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

// The plain search costs key times text: it checks small inputs only.
bool Affordable(const QString& Key, const QString& Text)
{
    return qint64(Key.size()) * qint64(Text.size()) < 200000;
}

bool PlainMatch(const QString& Key, const QString& Text, G::TFindParams p)
{
    const bool exact = p.testFlag(G::fnMatchCase);
    const QString k = exact ? Key : Key.toUpper();
    const QString t = exact ? Text : Text.toUpper();
    if (p.testFlag(G::fnMatchFull))
        return t == k;
    if (p.testFlag(G::fnMatchStart))
        return t.startsWith(k);
    return t.contains(k);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QApplication app(*argc, *argv);
    Fuzz_Default_Flag(argc, argv, "-timeout=", "-timeout=10");
    return Fuzz_Default_Max_Len(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    // Case, whole text, start, direction, backward and the searched range;
    // expressions have a matcher of their own and are not taken here.
    const int bits = data[0] | (data[1] << 8);
    G::TFindParams p;
    for (const auto& [bit, flag] : { std::pair { 0, G::fnMatchCase }, { 1, G::fnMatchFull }, { 2, G::fnMatchStart },
             { 3, G::fnDirectionLeftRight }, { 4, G::fnBackward }, { 5, G::fnIncludeFixed }, { 6, G::fnAutoGoto },
             { 7, G::fnIgnoreHTMLTags } })
        if (bits & (1 << bit))
            p |= flag;
    QStringList f
        = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2)).split(QChar(1));
    while (f.size() < 6)
        f << QString();
    const QString key = f[0];

    G g(nullptr);
    g.SetColCount(3);
    g.SetRowCount(3);
    for (int i = 0; i < 4; ++i)
        g.SetCells(1 + i % 2, 1 + i / 2, f[1 + i]);

    // Every cell found matches, in range, and the walk ends.
    int found = 0;
    for (QPoint c = g.FindFirst(key, p); c.x() >= 0; c = g.FindNext()) {
        Check(c.x() >= 0 && c.x() < 3 && c.y() >= 0 && c.y() < 3 && ++found <= 9);
        QString text = g.Cells(c.x(), c.y());
        if (p.testFlag(G::fnIgnoreHTMLTags) && text.contains(u'<'))
            text = StripHTMLTags(text);
        if (key != QStringLiteral("\"\"") && Affordable(key, text))
            Check(PlainMatch(key, text, p));
    }
    // With the whole range and no tags, the plain search finds the same cells.
    if (!p.testFlag(G::fnIgnoreHTMLTags) && key != QStringLiteral("\"\"") && !key.isEmpty()) {
        int expected = 0;
        bool affordable = true;
        for (int r = 1; r < 3; ++r)
            for (int c = 1; c < 3; ++c) {
                affordable = affordable && Affordable(key, g.Cells(c, r));
                expected += PlainMatch(key, g.Cells(c, r), p) ? 1 : 0;
            }
        if (affordable && !p.testFlag(G::fnIncludeFixed))
            Check(found == expected);
    }

    // The incremental search gives the first row whose text starts with the key.
    const TTextMatcher starts(key, TTextCase::Upper);
    const int row = g.Search(key);
    for (int r = 1; r < 3; ++r) {
        QString text = g.Cells(1, r);
        if (text.contains(u'<'))
            text = StripHTMLTags(text);
        const bool start = starts.StartOf(text);
        Check(r < row || row < 0 ? !start : (r == row ? start : true));
    }

    // Plain patterns of the filter with the key between stars, in both cases.
    for (const bool caseSensitive : { true, false }) {
        g.Filter()->Clear();
        TFilterData* d = g.Filter()->Add();
        d->Column = 1;
        d->Data = TFilterCells::fcNormal;
        d->CaseSensitive = caseSensitive;
        QString plain = key;
        plain.remove(u'"').remove(u'*').remove(u'?');
        for (QChar op : { u'(', u')', u';', u'^', u'&', u'|', u'<', u'>', u'!', u' ' })
            plain.remove(op);
        d->Condition = QStringLiteral("*") + plain + QStringLiteral("*");
        for (int r = 1; r < 3; ++r) {
            const QString text = g.Cells(1, r).trimmed();
            if (text.contains(QStringLiteral("|\\")) || !Affordable(plain, text)) {
                g.MatchFilter(r);
                continue;
            }
            Check(g.MatchFilter(r) == MatchFilterExpression(d->Condition, text, caseSensitive));
        }
    }

    // Each changed cell counts once.
    const int changed = g.Replace(key, f[5], p);
    Check(changed >= 0 && changed <= 9);
    return 0;
}
