#pragma once
// A grid of the given size without fixed columns, filled a column at a time.

#include <QString>

#include <vector>

template <class TGridClass> struct TColumnFixture {
    TGridClass* G = new TGridClass(nullptr);
    TColumnFixture(int cols, int rows)
    {
        G->SetColCount(cols);
        G->SetRowCount(rows);
        G->SetFixedCols(0);
    }
    ~TColumnFixture() { delete G; }
    TColumnFixture(const TColumnFixture&) = delete;
    TColumnFixture& operator=(const TColumnFixture&) = delete;
    TGridClass* operator->() const { return G; }
    // Column texts from row 1 down (row 0 is the fixed header).
    void Column(int c, const std::vector<QString>& texts) const
    {
        for (std::size_t i = 0; i < texts.size(); ++i)
            G->SetCells(c, int(i) + 1, texts[i]);
    }
    // The normal rows' texts of a column, top down.
    std::vector<QString> Read(int c) const
    {
        std::vector<QString> out;
        for (int r = G->FixedRows(); r < G->RowCount() - G->FixedFooters(); ++r)
            out.push_back(G->Cells(c, r));
        return out;
    }
};
