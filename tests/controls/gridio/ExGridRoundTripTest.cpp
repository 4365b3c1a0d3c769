#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <functional>

#include "GridIOSupport.h"

using namespace gridiotest;

namespace {

// Characters a random cell is made of: separators, quotes, line breaks, every
// control character, non-ASCII, letters. Each format drops what it cannot
// carry (see each case).
QString Alphabet()
{
    QString a = QStringLiteral(";,\"\r\n\tabcXYZ019 \u00e9\u00e4\u20ac\u4e2d\u00ff");
    for (char16_t c = 0; c < 32; ++c)
        a += QChar(c);
    return a;
}

// A 5 x 6 grid of random texts (a tenth of them empty), one merged area and
// one hidden column.
std::unique_ptr<TExStringGrid> RandomGrid(QRandomGenerator& rnd, const QString& alphabet)
{
    auto g = MakeGrid(5, 6);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 5; ++c) {
            if (rnd.bounded(10) == 0)
                continue;
            QString s;
            const int n = 1 + rnd.bounded(8);
            for (int i = 0; i < n; ++i)
                s += alphabet[rnd.bounded(int(alphabet.size()))];
            g->SetCells(c, r, s);
        }
    g->MergeCells(1, 2, 2, 2);
    // Covered cells carry no text of their own.
    g->SetCells(2, 2, QString());
    g->SetCells(1, 3, QString());
    g->SetCells(2, 3, QString());
    g->HideColumn(3);
    g->SetSaveHiddenCells(true);
    return g;
}

struct Format {
    const char* name;
    QString alphabet;
    std::function<void(TExStringGrid&, const QString&)> save;
    std::function<void(TExStringGrid&, const QString&)> load;
    std::function<QString(const QString&)> expected; // what a cell comes back as
};

QString Without(QString s, const QString& chars)
{
    for (QChar c : chars)
        s.remove(c);
    return s;
}

} // namespace

TEST(GridRoundTrip, RandomGridsComeBackCellForCell)
{
    const QString all = Alphabet();
    const QString ansi = Without(all, QStringLiteral("\u4e2d"));
    // CSV: character 11 stands for a line break; unquoted fields lose their
    // leading blanks.
    const QString csv = Without(all, QStringLiteral("\x0B "));
    // XML 1.0 holds no control characters but TAB, LF and CR.
    QString xml = all;
    for (char16_t c = 0; c < 32; ++c)
        if (c != 9 && c != 10 && c != 13)
            xml.remove(QChar(c));
    // The tilde form knows line breaks only as CR LF pairs.
    const QString java = Without(csv, QStringLiteral("\r\n"));
    auto same = [](const QString& s) { return s; };
    auto csvWith = [](char16_t d, bool always, bool java) {
        return [=](TExStringGrid& g, const QString& f) {
            g.SetDelimiter(d);
            g.SetAlwaysQuotes(always);
            g.SetJavaCSV(java);
            g.SaveToCSV(f, true);
        };
    };
    auto csvLoad = [](char16_t d, bool java) {
        return [=](TExStringGrid& g, const QString& f) {
            g.SetDelimiter(d);
            g.SetJavaCSV(java);
            g.LoadFromCSV(f);
        };
    };
    const Format formats[] = {
        { "file ANSI", ansi, [](TExStringGrid& g, const QString& f) { g.SaveToFile(f, false); },
            [](TExStringGrid& g, const QString& f) { g.LoadFromFile(f); }, same },
        { "file Unicode", all, [](TExStringGrid& g, const QString& f) { g.SaveToFile(f, true); },
            [](TExStringGrid& g, const QString& f) { g.LoadFromFile(f); }, same },
        { "CSV comma", csv, csvWith(u',', false, false), csvLoad(u',', false), same },
        { "CSV semicolon", csv, csvWith(u';', false, false), csvLoad(u';', false), same },
        // The quoted form writes a line break as LF.
        { "CSV AlwaysQuotes", csv, csvWith(u',', true, false), csvLoad(u',', false),
            [](const QString& s) {
                QString t = s;
                return t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            } },
        { "CSV JavaCSV", java + QStringLiteral("\r\n\r\n"), csvWith(u',', false, true), csvLoad(u',', true), same },
        { "XML", xml,
            [](TExStringGrid& g, const QString& f) {
                g.SetXMLEncoding(QStringLiteral("ISO-8859-1"));
                g.SaveToXML(f, QStringLiteral("L"), QStringLiteral("R"), nullptr, true);
            },
            [](TExStringGrid& g, const QString& f) { g.LoadFromXML(f); }, same },
    };
    QRandomGenerator rnd(58);
    const QString f = TempFile(QStringLiteral("round.dat"));
    for (const Format& fmt : formats) {
        SCOPED_TRACE(fmt.name);
        for (int round = 0; round < 40; ++round) {
            QString alphabet = fmt.alphabet;
            if (QByteArray(fmt.name) == "CSV JavaCSV") {
                // Line breaks only as pairs: "\r\n" stands for one character here.
                alphabet = java;
            }
            auto g = RandomGrid(rnd, alphabet);
            if (QByteArray(fmt.name) == "CSV JavaCSV")
                for (int r = 0; r < 6; ++r)
                    if (rnd.bounded(2))
                        g->SetCells(0, r, g->Cells(0, r) + QStringLiteral("\r\nx"));
            g->SetMultilinecells(true);
            fmt.save(*g, f);
            auto h = MakeGrid(1, 1);
            h->SetMultilinecells(true);
            fmt.load(*h, f);
            ASSERT_GE(h->RowCount(), 6);
            const bool isXml = QByteArray(fmt.name) == "XML";
            for (int r = 0; r < 6; ++r)
                for (int c = 0; c < 5; ++c) {
                    // A covered cell shows its area's text and is saved so,
                    // except in XML, which writes an area once.
                    const bool covered = c >= 1 && c <= 2 && r >= 2 && r <= 3 && !(c == 1 && r == 2);
                    const QString source = covered && !isXml ? g->Cells(1, 2) : g->Cells(c, r);
                    ASSERT_EQ(h->Cells(c, r), fmt.expected(source)) << "round " << round << " cell " << c << "," << r;
                }
        }
    }
}
