#pragma once
// Finding a key in cell texts: the find, the replace, the incremental search
// and the filter's plain patterns. One search costs time in proportion to the
// text plus the key, whatever the two hold, so a long key in a long cell
// stays quick; the key's table is built once and serves every cell.

#include <QString>
#include <QStringView>

#include <vector>

// How letters are compared. Both the key and the text always go through the
// same mapping, so a key finds every text that looks the same in that case.
enum class TTextCase {
    // As written.
    Exact,
    // Both upper-cased as whole texts: one letter may give several ("ß"
    // gives "SS"), so "straße", "STRASSE" and "Strasse" find each other.
    Upper,
    // Each character upper-cased on its own, lengths kept: the filter's
    // expressions compare so.
    UpperEach,
};

class TTextMatcher {
public:
    TTextMatcher() = default;
    TTextMatcher(QStringView Key, TTextCase Case);

    // The key as compared (mapped by the case).
    const QString& Key() const { return FKey; }
    TTextCase Case() const { return FCase; }
    bool IsEmpty() const { return FKey.isEmpty(); }

    // The mapped text holds the mapped key; an empty key is held by any text.
    bool In(QStringView Text) const;
    // The mapped text starts with the mapped key.
    bool StartOf(QStringView Text) const;
    // The mapped text is the mapped key.
    bool Equals(QStringView Text) const;
    // The first occurrence at or after From that begins and ends on whole
    // characters of Text (so that it can be replaced), -1 when none; End
    // gets the position after it. An empty key is never found here.
    qsizetype IndexIn(QStringView Text, qsizetype From = 0, qsizetype* End = nullptr) const;

private:
    QString FKey;
    TTextCase FCase = TTextCase::Exact;
    // For each length k of a matched start of the key, the length of the
    // longest proper start of the key that also ends it.
    std::vector<int> FBack;
    // Where each of the last key-length compared units came from (IndexIn
    // with Upper only): reused from text to text.
    struct TUnitSource {
        qsizetype Pos;
        bool First;
    };
    mutable std::vector<TUnitSource> FRing;
};

// The whole-text upper case of Text, as TTextCase::Upper compares it.
QString UpperText(QStringView Text);
