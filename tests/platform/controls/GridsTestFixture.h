#pragma once
// A string grid on a shown form, focused, with keys sent where the user's
// keys would go (the editor while it shows).

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <functional>

#include "common/GridOnForm.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Grids.h"

// Logs the editing hooks in the order the grid calls them.
class THookGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    QStringList Log;
    QString Mask;
    bool RefuseSelect = false;
    bool RefuseEditShow = false;
    int EditShowAsked = 0;
    int BiDiChanges = 0;
    // Runs once the editor has been opened by a character, as a descendant
    // that places the caret itself would.
    std::function<void()> AfterShowEditorChar;
    // The other window named by each focus message: "set 42", "kill 7".
    QStringList FocusLog;
    using TCustomGrid::CalcDrawInfo;
    using TCustomGrid::ChangeScale;

    void WndProc(TMessage& m) override
    {
        if (m.Msg == CM_BIDIMODECHANGED)
            ++BiDiChanges;
        if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS)
            FocusLog << QStringLiteral("%1 %2").arg(m.Msg == WM_SETFOCUS ? "set" : "kill").arg(qulonglong(m.WParam));
        TStringGrid::WndProc(m);
    }

protected:
    QString GetEditMask(int c, int r) override
    {
        Log << QStringLiteral("mask %1,%2").arg(c).arg(r);
        return Mask;
    }
    QString GetEditText(int c, int r) override
    {
        Log << QStringLiteral("get %1,%2").arg(c).arg(r);
        return TStringGrid::GetEditText(c, r);
    }
    void SetEditText(int c, int r, const QString& v) override
    {
        Log << QStringLiteral("set %1,%2=%3").arg(c).arg(r).arg(v);
        TStringGrid::SetEditText(c, r, v);
    }
    void ShowEditor() override
    {
        Log << QStringLiteral("show");
        TStringGrid::ShowEditor();
    }
    void HideEditor() override
    {
        Log << QStringLiteral("hide");
        TStringGrid::HideEditor();
    }
    void ShowEditorChar(char16_t Ch) override
    {
        TStringGrid::ShowEditorChar(Ch);
        if (AfterShowEditorChar)
            AfterShowEditorChar();
    }
    bool SelectCell(int c, int r) override { return !RefuseSelect && TStringGrid::SelectCell(c, r); }
    bool CanEditShow() override
    {
        ++EditShowAsked;
        return !RefuseEditShow && TStringGrid::CanEditShow();
    }
};

struct GridFixture : TGridOnForm<THookGrid> {
    explicit GridFixture(int cols = 6, int rows = 30, int width = 300, int height = 200)
        : TGridOnForm(cols, rows, width, height)
    {
    }

    void AddOptions(TGridOptions o) { Grid->SetOptions(Grid->Options() | o); }
    bool EditorShowing() const { return Grid->InplaceEditor() && Grid->InplaceEditor()->EditorVisible(); }
    TWinControl* KeyTarget() const { return EditorShowing() ? static_cast<TWinControl*>(Grid->InplaceEditor()) : Grid; }
    // Each key is followed by what the event loop delivers before the next
    // one: the character that opened the editor is posted to it.
    void Key(WORD vk, TShiftState s = {}, char16_t ch = 0)
    {
        input::Key(KeyTarget(), vk, s, ch);
        QCoreApplication::sendPostedEvents();
    }
    void Type(const QString& text)
    {
        for (QChar c : text) {
            input::Type(KeyTarget(), QString(c));
            QCoreApplication::sendPostedEvents();
        }
    }
    TPoint Center(int c, int r) const
    {
        const TRect rc = Grid->CellRect(c, r);
        return { (rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2 };
    }
    void Click(int c, int r, TShiftState s = {}) { input::Click(Grid, Center(c, r), mbLeft, s); }
};
