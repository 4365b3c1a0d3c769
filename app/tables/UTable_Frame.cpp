#include "app/tables/UTable_Frame.h"

#include "app/core/LbButton.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UXmlFile.h"
#include "controls/grid/ExGrid.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/SysUtils.h"

namespace {

constexpr int Form_Height = 337;
constexpr int Button_Lefts[6] = { 16, 134, 252, 370, 488, 606 };
constexpr int Button_Width = 110;
constexpr int Button_Height = 28;
// Table files are small (2,000 rows at most); anything far larger is no
// table file of this program.
constexpr qint64 Table_File_Max_Size = 16 * 1024 * 1024;

const QString Yes = QStringLiteral("Y");
const QString No = QStringLiteral("N");

// The DOM cuts an attribute value at a NUL; the text after it is kept.
QString File_Text(QString text)
{
    if (text.contains(QChar(0)))
        text.replace(QChar(0), QChar(0xFFFD));
    return text;
}

} // namespace

int Table_Int(const QString& text)
{
    return StrToIntDef(text, -1);
}

std::int64_t Table_Int64(const QString& text)
{
    return StrToInt64Def(text, -1);
}

// ---------------------------------------------------------------------------
// Construction and texts

TTable_Frame::TTable_Frame(TComponent* AOwner, const QString& name, int clientWidth, int textBase, int deleteText)
    : TForm(AOwner)
    , FTextBase(textBase)
    , FDeleteText(deleteText)
{
    SetName(name);
    Setup_Tool_Form(this, clientWidth, Form_Height);
    Font()->SetName(QStringLiteral("Tahoma"));
    Font()->SetHeight(-11);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;
    L_SW_Code->SetCaption(SW_Code);

    P_Button = Create_Button_Panel(this, 40);
    TLbButton** buttons[6] = { &Btn_OK, &Btn_Cancel, &Btn_DelRow, &Btn_InsRow, &Btn_CopyRow, &Btn_PasteRow };
    const char* names[6] = { "Btn_OK", "Btn_Cancel", "Btn_DelRow", "Btn_InsRow", "Btn_CopyRow", "Btn_PasteRow" };
    for (int i = 0; i < 6; ++i) {
        *buttons[i] = Create_Tool_Button(this, P_Button, names[i], Button_Lefts[i], 6, Button_Width, Button_Height);
        (*buttons[i])->SetTabOrder(i);
    }
    Btn_Cancel->SetModalResult(mrCancel);
    Btn_OK->OnClick = [this](TObject* s) { Btn_OKClick(s); };
    Btn_DelRow->OnClick = [this](TObject* s) { Btn_DelRowClick(s); };
    Btn_InsRow->OnClick = [this](TObject* s) { Btn_InsRowClick(s); };
    Btn_CopyRow->OnClick = [this](TObject* s) { Btn_CopyRowClick(s); };
    Btn_PasteRow->OnClick = [this](TObject* s) { Btn_PasteRowClick(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
}

TTable_Frame::~TTable_Frame() = default;

TExStringGrid* TTable_Frame::Create_Table_Grid(const char* name)
{
    auto* g = new TExStringGrid(this);
    g->SetName(QString::fromLatin1(name));
    g->SetParent(this);
    g->SetAlign(alClient);
    g->SetOptions(g->Options() | goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect
        | goColSizing | goEditing);
    g->SetShowHint(true);
    g->OnKeyPress = [this](TObject* s, char16_t& key) { KeyPress(s, key); };
    g->OnClickCell = [this](TObject* s, int r, int c) { ClickCell(s, r, c); };
    g->OnGridHint = [this](TObject* s, int r, int c, QString& hint) { GridHint(s, r, c, hint); };
    // The grid reports no double-clicked cell of its own yet: the cell under
    // the double click's mouse position is the one.
    g->OnDblClick = [this, g](TObject* s) {
        const TPoint p = g->ScreenToClient(MouseCursorPos());
        int c = -1;
        int r = -1;
        g->MouseToCell(p.X, p.Y, c, r);
        if (c >= 0 && r >= 0)
            DblClickCell(s, r, c);
    };
    return g;
}

void TTable_Frame::Set_Lang()
{
    SetCaption(Lang(FTextBase));
    L_SW_Desc->SetCaption(Lang(FTextBase + 1));
    TLbButton* buttons[6] = { Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow };
    for (int i = 0; i < 6; ++i) {
        buttons[i]->SetCaption(Lang(FTextBase + 2 + i));
        buttons[i]->SetHint(Lang(FTextBase + 8 + i));
    }
}

// ---------------------------------------------------------------------------
// Showing and loading

void TTable_Frame::Reset_Tables()
{
    for (const TTable_Def& t : Tables) {
        TExStringGrid* g = t.Grid;
        g->BeginUpdate();
        const int cols = g->TotalColCount();
        for (int r = 1; r < g->RowCount(); ++r) {
            g->SetCellEx(0, r, QString::number(r));
            for (int c = 1; c < cols; ++c) {
                if (g->HasCheckBox(c, r))
                    g->SetCheckBoxState(c, r, c == 1 && t.Mark_Enable);
                else
                    g->SetCellEx(c, r, QString());
            }
        }
        g->EndUpdate();
    }
}

void TTable_Frame::FormShow(TObject*)
{
    Reset_Tables();
    // A file that could not be read ends the showing there: the copy flags
    // stay as they were.
    if (!Load_File())
        return;
    for (TTable_Def& t : Tables)
        t.Do_Copy = false;
}

bool TTable_Frame::Load_File()
{
    FDamaged = false;
    const QString path = File_Path ? File_Path() : QString();
    if (path.isEmpty())
        return true;
    // A missing file is the reset table; one that is there but cannot be
    // read is said once and never taken for a missing one.
    const TXmlFileRead read = Read_Xml_File(XML1, path, Table_File_Max_Size);
    if (read.State == TXmlFileState::Missing)
        return true;
    QString error = read.Reason;
    if (read.State == TXmlFileState::Loaded) {
        if (Load_Document(XML1, error)) {
            if (FSurplus_After > 0)
                MessageDlg(QStringLiteral("The file holds more rows than the table: rows after %1 are not shown and "
                                          "will not be saved.")
                               .arg(FSurplus_After),
                    mtWarning, TMsgDlgButtons(mbOK));
            return true;
        }
    }
    FDamaged = true;
    Show_File_Read_Error(path, error);
    return false;
}

bool TTable_Frame::Load_Document(const TXmlDocument& xml, QString& error)
{
    FSurplus_After = 0;
    // The root is the first element: a declaration or a comment before it
    // would otherwise lose every row. Its name is not checked.
    const TXmlNode root = xml.DocumentElement();
    if (!root) {
        error = QStringLiteral("it holds no %1 element").arg(Root_Name);
        return false;
    }
    for (int ti = 0; ti < int(Tables.size()); ++ti) {
        const TTable_Def& t = Tables[std::size_t(ti)];
        const TXmlNode table = t.Element.isEmpty() ? root : root.FindChild(t.Element);
        if (!table) {
            error = QStringLiteral("it holds no %1 element").arg(t.Element);
            return false;
        }
        TExStringGrid* g = t.Grid;
        g->BeginUpdate();
        int row = 1;
        bool stopped = false;
        for (TXmlNode child = table.FirstChild(); child && !stopped; child = child.NextSibling(), ++row) {
            if (row >= g->RowCount()) {
                // The table cannot hold them; they are dropped, and said so.
                if (FSurplus_After == 0)
                    FSurplus_After = g->RowCount() - 1;
                break;
            }
            const bool element = child.IsElement();
            for (const TTable_Column& col : t.Columns) {
                std::optional<QString> value;
                if (!t.Guarded && (!element || !child.HasAttribute(col.Attr))) {
                    error = element ? QStringLiteral("row %1 has no %2 attribute").arg(row).arg(col.Attr)
                                    : QStringLiteral("row %1 is not an element").arg(row);
                    stopped = true;
                    break;
                }
                if (!element) {
                    value = col.If_Unreadable;
                } else {
                    value = child.Attribute(col.Attr);
                    if (!value)
                        value = col.If_Missing;
                    else if (col.Convert)
                        value = col.Convert(*value);
                }
                if (!value)
                    continue;
                if (col.Check)
                    g->SetCheckBoxState(col.Col, row, *value != No);
                else
                    g->SetCellEx(col.Col, row, *value);
            }
            if (!stopped)
                Row_Loaded(ti, row);
        }
        g->EndUpdate();
        g->Invalidate();
        if (stopped)
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Saving

int TTable_Frame::First_Empty_Key(const TTable_Def& t) const
{
    TExStringGrid* g = t.Grid;
    for (int r = 1; r < g->RowCount(); ++r) {
        const QString key = g->GetCellEx(t.Key_Col, r);
        if ((t.Key_Trimmed ? Trim(key) : key).isEmpty())
            return r;
    }
    return g->RowCount();
}

void TTable_Frame::Build_Document(TXmlDocument& xml) const
{
    xml.SetActive(true);
    xml.Clear();
    TXmlNode root = xml.AddChild(Root_Name);
    xml.AddComment(QStringLiteral("SW_VERSION = ") + Version);
    for (const TTable_Def& t : Tables) {
        TXmlNode table = t.Element.isEmpty() ? root : root.AddChild(t.Element);
        TExStringGrid* g = t.Grid;
        const int end = First_Empty_Key(t);
        const QString rowName = QStringLiteral("row");
        for (int r = 1; r < end; ++r) {
            TXmlNode row = table.AddChild(rowName);
            for (const TTable_Column& col : t.Columns) {
                if (col.Check) {
                    bool state = false;
                    row.SetAttribute(col.Attr, g->GetCheckBoxState(col.Col, r, state) && state ? Yes : No);
                } else {
                    row.SetAttribute(col.Attr, File_Text(g->GetCellEx(col.Col, r)));
                }
            }
        }
    }
}

bool TTable_Frame::Ask_Rows_After_Empty_Key() const
{
    for (const TTable_Def& t : Tables) {
        TExStringGrid* g = t.Grid;
        const int empty = First_Empty_Key(t);
        const int cols = g->TotalColCount();
        for (int r = empty + 1; r < g->RowCount(); ++r)
            for (int c = 1; c < cols; ++c)
                if (!g->HasCheckBox(c, r) && !Trim(g->GetCellEx(c, r)).isEmpty())
                    return MessageDlg(QStringLiteral("Row %1 is empty: the rows after it will not be saved. Save "
                                                     "anyway?")
                                          .arg(empty),
                               mtConfirmation, mbYesNo)
                        == mrYes;
    }
    return true;
}

bool TTable_Frame::Save_File()
{
    const QString path = File_Path ? File_Path() : QString();
    if (path.isEmpty())
        return false;
    if (!Ask_Rows_After_Empty_Key())
        return false;
    if (FDamaged
        && MessageDlg(QStringLiteral("The file %1 could not be read. Replace it with the table shown?").arg(path),
               mtConfirmation, mbYesNo)
            != mrYes)
        return false;
    Build_Document(XML1);
    // Written whole or not at all: on failure the old file stays and the
    // form stays open with the user's edits.
    QString error;
    if (!XML1.SaveToFile(path, &error)) {
        Show_File_Save_Error(path, error);
        return false;
    }
    FDamaged = false;
    return true;
}

void TTable_Frame::Btn_OKClick(TObject*)
{
    if (!Controllo_dati())
        return;
    if (!Save_File())
        return;
    SetModalResult(mrOk);
}

bool TTable_Frame::Row_Error(int errorRowText, int row, const QString& message) const
{
    MessageDlg(Lang(errorRowText) + QString::number(row) + message, mtError, TMsgDlgButtons(mbOK));
    return false;
}

// ---------------------------------------------------------------------------
// Row buttons and grid events

void TTable_Frame::Btn_DelRowClick(TObject*)
{
    TTable_Def& t = Tables[std::size_t(Active_Table())];
    const int row = t.Grid->Row();
    if (MessageDlg(Lang(FDeleteText) + QString::number(row), mtConfirmation, mbYesNo) != mrYes)
        return;
    Grid_Delete_Row_Check(row, t.Grid, t.Mark_Enable);
    Rows_Changed(Active_Table(), row);
}

void TTable_Frame::Btn_InsRowClick(TObject*)
{
    TTable_Def& t = Tables[std::size_t(Active_Table())];
    const int row = t.Grid->Row();
    Grid_Insert_Row_Check(row, t.Grid, t.Mark_Enable);
    Rows_Changed(Active_Table(), row);
}

void TTable_Frame::Btn_CopyRowClick(TObject*)
{
    const int active = Active_Table();
    TTable_Def& t = Tables[std::size_t(active)];
    Grid_Copy_Row_Check(t.Grid, t.Grid->Row());
    // The clipboard now holds this table's row: only this table may paste it.
    for (int i = 0; i < int(Tables.size()); ++i)
        Tables[std::size_t(i)].Do_Copy = i == active;
}

void TTable_Frame::Btn_PasteRowClick(TObject*)
{
    TTable_Def& t = Tables[std::size_t(Active_Table())];
    const int row = t.Grid->Row();
    Grid_Paste_Row_Check(t.Grid, row, t.Do_Copy);
    Rows_Changed(Active_Table(), row);
}

int TTable_Frame::Table_Of(TObject* grid) const
{
    for (int i = 0; i < int(Tables.size()); ++i)
        if (Tables[std::size_t(i)].Grid == grid)
            return i;
    return -1;
}

void TTable_Frame::KeyPress(TObject* Sender, char16_t& Key)
{
    if (Table_Of(Sender) >= 0)
        Grid_Enter_Next_Cell(static_cast<TExStringGrid*>(Sender), Key);
}

void TTable_Frame::DblClickCell(TObject* Sender, int ARow, int ACol)
{
    if (Table_Of(Sender) >= 0)
        Grid_DblClick_AutoSize(static_cast<TExStringGrid*>(Sender), ARow, ACol);
}

void TTable_Frame::ClickCell(TObject* Sender, int ARow, int ACol)
{
    if (Row_Click_Selects && ACol == 0 && ARow >= 1 && Table_Of(Sender) >= 0)
        static_cast<TExStringGrid*>(Sender)->SelectRows(ARow, 1);
}

void TTable_Frame::GridHint(TObject* Sender, int ARow, int ACol, QString& HintStr)
{
    HintStr.clear();
    const int ti = Table_Of(Sender);
    if (ti < 0 || ARow != 0 || ACol < 1)
        return;
    const TTable_Def& t = Tables[std::size_t(ti)];
    const int real = t.Grid->RealColFromDisplay(ACol);
    if (real >= 1 && real - 1 < t.Hint.size())
        HintStr = t.Hint[real - 1];
}
