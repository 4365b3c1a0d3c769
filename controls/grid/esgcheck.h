#pragma once
// The base of a cell checker linked to the grid: the grid's validation asks it
// to correct a new value and to mark errors in it. This base leaves every
// value as it is; descendants supply the checks.

#include <QString>

#include "platform/runtime/Component.h"

class TExStringGridCheck : public TComponent {
public:
    using TComponent::TComponent;
    QString ClassName() const override { return QStringLiteral("TExStringGridCheck"); }

    // The value with its errors marked.
    virtual QString MarkError(int ACol, int ARow, const QString& Value);
    // The value corrected.
    virtual QString Correct(int ACol, int ARow, const QString& Value);
    // Around a check of many cells.
    virtual void StartCheck();
    virtual void StopCheck();

    bool GotoCell() const { return FGotoCell; }
    void SetGotoCell(bool v) { FGotoCell = v; }
    bool AutoCorrect() const { return FAutoCorrect; }
    void SetAutoCorrect(bool v) { FAutoCorrect = v; }
    bool AutoMarkError() const { return FAutoMarkError; }
    void SetAutoMarkError(bool v) { FAutoMarkError = v; }
    bool UseCorrect() const { return FUseCorrect; }
    void SetUseCorrect(bool v) { FUseCorrect = v; }
    bool UseMarkError() const { return FUseMarkError; }
    void SetUseMarkError(bool v) { FUseMarkError = v; }

private:
    bool FGotoCell = false;
    bool FAutoCorrect = false;
    bool FAutoMarkError = false;
    bool FUseCorrect = false;
    bool FUseMarkError = false;
};
