#pragma once
// The undo and redo history of a grid's cell texts: single changes and
// bracketed sequences (a cut or a paste) that undo and redo as one step.

#include <QString>
#include <deque>
#include <functional>
#include <memory>

#include "platform/runtime/Component.h"

class TBaseGrid;

class TUndoRedoItem {
public:
    int Row = 0;
    int Col = 0;
    QString Value;
    QString OrigValue;
    bool SequenceStart = false;
    bool SequenceStop = false;
    bool IsMarker() const { return SequenceStart || SequenceStop; }
};

// The history, oldest first. A plain owned list: the oldest item leaves in
// constant time when the history is capped.
class TUndoRedoCollection {
public:
    int Count() const { return int(FItems.size()); }
    TUndoRedoItem* Items(int i) const { return FItems[std::size_t(i)].get(); }
    TUndoRedoItem* Add();
    void Delete(int i);
    void Clear() { FItems.clear(); }

private:
    std::deque<std::unique_ptr<TUndoRedoItem>> FItems;
};

using TUndoRedoEvent = std::function<void(
    TObject* Sender, TBaseGrid* Grid, int Col, int Row, const QString& OrigValue, const QString& NewValue)>;

class TExGridUndoRedo : public TComponent {
public:
    explicit TExGridUndoRedo(TComponent* AOwner);
    ~TExGridUndoRedo() override;
    QString ClassName() const override { return QStringLiteral("TExGridUndoRedo"); }

    virtual void RegisterChange(int ACol, int ARow, const QString& OldValue, const QString& NewValue);
    virtual void StartSequence();
    virtual void StopSequence();
    void Undo();
    void Redo();
    bool CanUndo() const { return FLevel > 0; }
    bool CanRedo() const { return FLevel < FItems.Count(); }
    // Empties the history; Level goes back to 0.
    void Reset();

    const TUndoRedoCollection& Items() const { return FItems; }
    TBaseGrid* Grid() const { return FGrid; }
    // Set by the grid's UndoRedo.
    void SetGrid(TBaseGrid* v);
    int Level() const { return FLevel; }
    void SetLevel(int v) { FLevel = v; }
    int MaxLevel() const { return FMaxLevel; }
    void SetMaxLevel(int v) { FMaxLevel = v; }

    TUndoRedoEvent OnUndo;
    TUndoRedoEvent OnRedo;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void AddMarker(bool start);
    // Writes one item's text back (undo) or again (redo); false when its
    // cell is no longer in the grid.
    bool Apply(const TUndoRedoItem* I, bool undo);

    TUndoRedoCollection FItems;
    TBaseGrid* FGrid = nullptr;
    int FLevel = 0;
    int FMaxLevel = 0;
};
