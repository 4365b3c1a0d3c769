#pragma once
// What the grid's clipboard shortcuts do. The exchange layer installs its
// full formats in place of the default, which moves the selection's plain
// text: tab-separated cells, one row a line.

class TExStringGrid;

class TGridExchange {
public:
    virtual ~TGridExchange() = default;
    virtual void CopySelection(TExStringGrid* Grid);
    // Copies, then clears the selected cells.
    virtual void CutSelection(TExStringGrid* Grid);
    // Writes the clipboard's text from the selection's top-left cell on; what
    // reaches past the last normal row or column is left out.
    virtual void PasteSelection(TExStringGrid* Grid);
};

// The service in use: the default unless replaced.
TGridExchange* GridExchange();
// Replaces the service (not owned; nullptr goes back to the default) and
// returns the one it replaces.
TGridExchange* SetGridExchange(TGridExchange* NewExchange);
