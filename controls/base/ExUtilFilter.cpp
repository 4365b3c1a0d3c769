// The filter-expression matcher used by the grid's filter and find.

#include "controls/base/ExUtil.h"
#include "controls/base/ExUtilLocale.h"

#include <QLocale>
#include <QStringView>
#include <vector>

using namespace exutil;

namespace {

void Combine(bool& result, QChar prevOp, bool operand)
{
    if (prevOp.isNull())
        result = operand;
    else if (prevOp == QLatin1Char('&'))
        result = result && operand;
    else if (prevOp != QLatin1Char('('))
        result = result || operand;
    // After a group the empty condition up to the next operator leaves the result alone.
}

bool EvalExpression(QStringView e, const QString& value, int depth, bool& malformed)
{
    bool result = false;
    QChar prevOp;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype op = FindFilterOperator(e, pos);
        if (op < 0)
            break;
        bool operand = false;
        QChar found;
        if (e[pos] == QLatin1Char('(')) {
            const qsizetype close = FindClosingParen(e, pos);
            if (close < 0 || depth >= kMaxFilterGroupDepth) {
                malformed = true;
                return false;
            }
            operand = EvalExpression(e.mid(pos + 1, close - pos - 1), value, depth + 1, malformed);
            if (malformed)
                return false;
            found = QLatin1Char('(');
            pos = close + 1;
        } else {
            operand = MatchFilterCondition(e.mid(pos, op - pos).toString(), value);
            found = e[op];
            pos = op + 1;
        }
        Combine(result, prevOp, operand);
        prevOp = found;
    }
    Combine(result, prevOp, MatchFilterCondition(e.mid(pos).toString(), value));
    return result;
}

// ---------------------------------------------------------------------------
// Comparisons

// The operand of a comparison: from `start`, past blanks, up to a blank or an
// operator outside its own quotes; its enclosing quotes are dropped.
QString ReadOperand(const QString& cond, int start)
{
    const int n = int(cond.length());
    int i = start;
    while (i < n && cond[i] == QLatin1Char(' '))
        ++i;
    int j = i;
    bool quoted = false;
    for (; j < n; ++j) {
        const QChar c = cond[j];
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted
            && (c == QLatin1Char(' ') || c == QLatin1Char('&') || c == QLatin1Char('|') || c == QLatin1Char('^')))
            break;
    }
    QString op = cond.mid(i, j - i);
    if (op.startsWith(QLatin1Char('"')))
        op.remove(0, 1);
    if (op.endsWith(QLatin1Char('"')))
        op.chop(1);
    return op;
}

bool TryReadFloat(const QString& text, double& value)
{
    const QString t = text.trimmed();
    bool digit = false;
    for (QChar c : t) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = true;
        else if (c != QLatin1Char('.') && c != QLatin1Char('e') && c != QLatin1Char('E') && c != QLatin1Char('+')
            && c != QLatin1Char('-'))
            return false;
    }
    if (!digit)
        return false;
    bool ok = false;
    value = QLocale::c().toDouble(t, &ok);
    return ok;
}

// < 0, 0 or > 0 for value against operand: as numbers, else as dates, else as texts.
int CompareOperand(const QString& value, const QString& operand)
{
    double vn = 0;
    double on = 0;
    bool vNum = TryReadFloat(NormalizeNumberText(value), vn);
    bool oNum = TryReadFloat(NormalizeNumberText(operand), on);
    TDateTime vd = 0;
    TDateTime od = 0;
    const bool vDate = ParseDateTimeText(value, vd);
    const bool oDate = ParseDateTimeText(operand, od);
    if (vDate)
        vNum = false;
    if (oDate)
        oNum = false;
    if (vNum && oNum)
        return vn < on ? -1 : (vn > on ? 1 : 0);
    if (vDate && oDate)
        return vd < od ? -1 : (vd > od ? 1 : 0);
    return QStringView(value).left(255).compare(QStringView(operand).left(255), Qt::CaseSensitive);
}

// ---------------------------------------------------------------------------
// Wildcards

// Walks one segment of the pattern (up to the next run of "*") against the
// value from `vi`. Returns 1 or 0 when the segment decides the match, or -1
// when it reached its "*" with the value at `vi` (neg tells whether a "!" was
// passed).
int WalkSegment(QStringView cond, int ci, int segEnd, QStringView val, int& vi, bool& neg)
{
    neg = false;
    const int n = int(val.length());
    while (ci < segEnd) {
        const QChar ch = cond[ci];
        if (ch == QLatin1Char('!')) {
            neg = true;
            ++ci;
        } else if (ch == QLatin1Char('"')) {
            ++ci;
        } else if (vi < n && (ch == QLatin1Char('?') || ch == val[vi])) {
            ++ci;
            ++vi;
        } else {
            return neg ? 1 : 0;
        }
    }
    if (segEnd == cond.length())
        return ((vi == n) != neg) ? 1 : 0;
    return -1;
}

// "*" tries every suffix of the rest of the value. Computed segment by
// segment from the last one, keeping for each start position whether any
// later suffix matches, so the time stays proportional to pattern times value
// length however many stars the pattern has.
bool WildcardMatch(QStringView cond, QStringView val)
{
    const int m = int(cond.length());
    const int n = int(val.length());
    // Segment k runs from starts[k] to ends[k]; a run of "*" follows every
    // segment but the last.
    std::vector<int> starts { 0 };
    std::vector<int> ends;
    for (int i = 0; i < m; ++i) {
        if (cond[i] != QLatin1Char('*'))
            continue;
        ends.push_back(i);
        while (i < m && cond[i] == QLatin1Char('*'))
            ++i;
        starts.push_back(i);
        --i;
    }
    ends.push_back(m);

    int vi = 0;
    bool neg = false;
    const int top = WalkSegment(cond, starts[0], ends[0], val, vi, neg);
    if (top >= 0)
        return top == 1;
    const int topVi = vi;
    const bool topNeg = neg;

    const int segments = int(starts.size());
    std::vector<char> anyNext(n + 2, 0);
    std::vector<char> anyCur(n + 2, 0);
    for (int k = segments - 1; k >= 1; --k) {
        anyCur[n + 1] = 0;
        for (int j = n; j >= 0; --j) {
            int v = j;
            bool segNeg = false;
            int r = WalkSegment(cond, starts[k], ends[k], val, v, segNeg);
            if (r < 0)
                r = (anyNext[v] != 0) != segNeg ? 1 : 0;
            anyCur[j] = char(r == 1 || anyCur[j + 1]);
        }
        anyNext.swap(anyCur);
    }
    return (anyNext[topVi] != 0) != topNeg;
}

} // namespace

bool MatchFilterExpression(const QString& Expression, const QString& Value, bool CaseSensitive)
{
    const QString trimmed = Expression.trimmed();
    QString e;
    e.reserve(trimmed.length());
    bool quoted = false;
    for (QChar c : trimmed) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (c == QLatin1Char(' ') && !quoted)
            continue;
        e += c;
    }
    if (e.startsWith(QLatin1Char('=')))
        e.remove(0, 1);
    QString value = Value;
    if (!CaseSensitive) {
        e = UpperKeepLength(e);
        value = UpperKeepLength(value);
    }
    bool malformed = false;
    const bool result = EvalExpression(e, value, 0, malformed);
    return !malformed && result;
}

bool MatchFilterCondition(const QString& Condition, const QString& Value)
{
    const bool hasGT = Condition.contains(QLatin1Char('>'));
    const bool hasLT = Condition.contains(QLatin1Char('<'));
    // "!" before a comparison negates the comparison, as it does a pattern.
    if (Condition.startsWith(QLatin1Char('!')) && (hasGT || hasLT))
        return !MatchFilterCondition(Condition.mid(1), Value);

    bool gtEval = false;
    bool ltEval = false;
    bool gtResult = true;
    bool ltResult = true;
    auto compare = [&](QChar sign, bool greater, bool& evaluated, bool& result) {
        const int p = int(Condition.indexOf(sign));
        int start = p + 1;
        const bool orEqual = start < Condition.length() && Condition[start] == QLatin1Char('=');
        if (orEqual)
            ++start;
        const int cmp = CompareOperand(Value, ReadOperand(Condition, start));
        result = greater ? (orEqual ? cmp >= 0 : cmp > 0) : (orEqual ? cmp <= 0 : cmp < 0);
        evaluated = true;
    };
    if (hasGT)
        compare(QLatin1Char('>'), true, gtEval, gtResult);
    if (hasLT)
        compare(QLatin1Char('<'), false, ltEval, ltResult);
    if (Condition.contains(QLatin1Char('!'))) {
        if (!hasGT)
            gtEval = true;
        if (!hasLT)
            ltEval = true;
    }
    if (Condition.contains(QLatin1Char('^')) && (gtEval || ltEval))
        return gtResult || ltResult;
    if (Condition.contains(QLatin1Char('&')) && gtEval && ltEval)
        return gtResult && ltResult;
    if (hasGT && gtResult)
        return true;
    if (hasLT && ltResult)
        return true;
    return WildcardMatch(Condition, Value);
}

// Every position an evaluator resumes from follows an operator or a ")" found
// outside quotes, so counting quotes from there is the same as from the start.
qsizetype FindFilterOperator(QStringView e, qsizetype From)
{
    bool quoted = false;
    for (qsizetype i = From; i < e.size(); ++i) {
        const QChar c = e[i];
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'(' || c == u';' || c == u'^' || c == u'&' || c == u'|'))
            return i;
    }
    return -1;
}

qsizetype FindClosingParen(QStringView e, qsizetype Open)
{
    int depth = 0;
    bool quoted = false;
    for (qsizetype i = Open; i < e.size(); ++i) {
        const QChar c = e[i];
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u'(')
            ++depth;
        else if (!quoted && c == u')' && --depth == 0)
            return i;
    }
    return -1;
}
