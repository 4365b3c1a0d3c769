// Finding a key in a text: the three ways of comparing letters, whole
// characters for replacing, and agreement with a plain search on keys that
// repeat themselves (where a wrong fall-back after a mismatch shows).
#include "controls/base/ExTextSearch.h"

#include <gtest/gtest.h>

#include <random>

namespace {

QString U(const char16_t* s)
{
    return QString::fromUtf16(s);
}

// The first place at or after From where Key's units stand in Text; -1 for none.
qsizetype PlainIndex(const QString& Text, const QString& Key, qsizetype From)
{
    for (qsizetype i = From; i + Key.size() <= Text.size(); ++i)
        if (QStringView(Text).mid(i, Key.size()) == Key)
            return i;
    return -1;
}

} // namespace

TEST(ExTextSearch, LettersWhoseUpperCaseIsLongerMatchByBothSidesMapped)
{
    struct Case {
        QString Key;
        TTextCase How;
        QString Text;
        bool In, Start, Equal;
    };
    const QString strasse = U(u"Straße");
    const Case cases[] = {
        { U(u"straße"), TTextCase::Upper, strasse, true, true, true },
        { "STRASSE", TTextCase::Upper, strasse, true, true, true },
        { "strasse", TTextCase::Upper, strasse, true, true, true },
        { "SSE", TTextCase::Upper, strasse, true, false, false },
        { "stras", TTextCase::Upper, strasse, true, true, false },
        { U(u"straße"), TTextCase::Exact, strasse, false, false, false },
        { U(u"Straße"), TTextCase::Exact, strasse, true, true, true },
        // Each letter on its own: "ß" stays one letter.
        { U(u"STRAßE"), TTextCase::UpperEach, strasse, true, true, true },
        { "STRASSE", TTextCase::UpperEach, strasse, false, false, false },
        // A ligature upper-cases to two letters.
        { "file", TTextCase::Upper, U(u"\uFB01le"), true, true, true },
        // Letters outside the first plane.
        { U(u"\U00010428"), TTextCase::Upper, U(u"x\U00010400"), true, false, false },
        { "", TTextCase::Upper, "abc", true, true, false },
        { "abcd", TTextCase::Upper, "abc", false, false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Key.toStdString() + " / " + c.Text.toStdString() + " / " + std::to_string(int(c.How)));
        const TTextMatcher m(c.Key, c.How);
        EXPECT_EQ(m.In(c.Text), c.In);
        EXPECT_EQ(m.StartOf(c.Text), c.Start);
        EXPECT_EQ(m.Equals(c.Text), c.Equal);
    }
}

TEST(ExTextSearch, UpperCaseOfEveryCharacterIsTheWholeTextUpperCase)
{
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (QChar::isSurrogate(c))
            continue;
        const QString s { QChar(char16_t(c)) };
        const QString up = s.toUpper();
        ASSERT_EQ(UpperText(s), up) << int(c);
        ASSERT_TRUE(TTextMatcher(up, TTextCase::Upper).Equals(s)) << int(c);
    }
}

TEST(ExTextSearch, IndexInFindsWholeCharactersOnly)
{
    struct Case {
        QString Key;
        QString Text;
        qsizetype From, At, End;
    };
    const Case cases[] = {
        { "ss", U(u"Straße"), 0, 4, 5 }, // "SS" is the whole "ß"
        { "s", U(u"ß"), 0, -1, -1 }, // half of it is not
        { U(u"ß"), U(u"aßbß"), 0, 1, 2 },
        { U(u"ß"), U(u"aßbß"), 2, 3, 4 },
        { "SS", U(u"aßbß"), 2, 3, 4 },
        { "sb", U(u"aßbß"), 0, -1, -1 }, // starts in the middle of "SS"
        { "SSB", U(u"aßbß"), 0, 1, 3 },
        { "ab", "xxAB", 0, 2, 4 },
        { "x", "abc", 5, -1, -1 },
        { "", "abc", 0, -1, -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Key.toStdString() + " in " + c.Text.toStdString());
        qsizetype end = -1;
        EXPECT_EQ(TTextMatcher(c.Key, TTextCase::Upper).IndexIn(c.Text, c.From, &end), c.At);
        EXPECT_EQ(end, c.End);
    }
}

TEST(ExTextSearch, AgreesWithAPlainSearchOnRepetitiveKeys)
{
    // Two letters in random order: keys and texts full of partial matches.
    // Keys of all lengths, so that long keys take the own search in every
    // case and short ones the toolkit's where it has one.
    std::mt19937 rnd(7);
    auto word = [&](int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QChar(rnd() % 3 == 0 ? u'b' : u'a');
        return s;
    };
    for (int round = 0; round < 400; ++round) {
        const QString text = word(int(rnd() % 200));
        const QString key = round % 2 ? word(1 + int(rnd() % 6)) : text.mid(int(rnd() % 150), 33 + int(rnd() % 40));
        if (key.isEmpty())
            continue;
        for (TTextCase how : { TTextCase::Exact, TTextCase::Upper, TTextCase::UpperEach }) {
            const QString mappedText = how == TTextCase::Exact ? text : text.toUpper();
            const QString mappedKey = how == TTextCase::Exact ? key : key.toUpper();
            const TTextMatcher m(how == TTextCase::Exact ? key : key.toLower(), how);
            for (qsizetype from : { qsizetype(0), qsizetype(text.size() / 2) }) {
                const qsizetype want = PlainIndex(mappedText, mappedKey, from);
                qsizetype end = -1;
                ASSERT_EQ(m.IndexIn(text, from, &end), want) << key.toStdString() << " in " << text.toStdString();
                if (want >= 0) {
                    ASSERT_EQ(end, want + key.size());
                }
            }
            ASSERT_EQ(m.In(text), PlainIndex(mappedText, mappedKey, 0) >= 0);
            ASSERT_EQ(m.StartOf(text), mappedText.startsWith(mappedKey));
            ASSERT_EQ(m.Equals(text), mappedText == mappedKey);
        }
    }
}
