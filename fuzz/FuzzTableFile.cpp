// Loads arbitrary bytes as a table file through the table-form frame, with
// the column table of each table form (the HART variables table for now), as
// a form does each time it opens. Loading must never crash or hang; every
// cell must be one the grid holds (check boxes in place, list cells one of
// their items or empty); and a file that loaded without complaint must come
// back the same after a save: the rows before the first empty key as they
// were, the others reset.

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/tables/UHARTVariables.h"
#include "controls/grid/ExGrid.h"
#include "fuzz/FuzzSupport.h"
#include "platform/controls/Services.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/SysUtils.h"

#include <QApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// Answers every box at once: reports with OK, questions (saving despite
// rows after an empty key) with Yes.
class TQuietBoxes : public IMessageBoxService {
public:
    TModalResult Show(const TMessageBoxRequest& request) override
    {
        return request.Buttons == TMsgDlgButtons(mbOK) ? mrOk : mrYes;
    }
};

// Every data cell of every table: "x"/"." for a box, else the text.
std::vector<QString> Cells(const TTable_Frame& f)
{
    std::vector<QString> out;
    for (const TTable_Def& t : f.Tables) {
        TExStringGrid* g = t.Grid;
        for (int r = 1; r < g->RowCount(); ++r)
            for (const TTable_Column& c : t.Columns) {
                bool state = false;
                if (c.Check) {
                    if (!g->GetCheckBoxState(c.Col, r, state))
                        std::abort();
                    out.push_back(state ? QStringLiteral("x") : QStringLiteral("."));
                } else {
                    out.push_back(g->GetCellEx(c.Col, r));
                }
            }
    }
    return out;
}

// A list cell holds one of its items or nothing.
void Check_Lists(const TFHARTVariables& f)
{
    TExStringGrid* g = f.ESG;
    for (int r = 1; r < g->RowCount(); ++r) {
        const QString type = g->GetCellEx(HART_Var_Col_Type, r);
        const QString op = g->GetCellEx(HART_Var_Col_Operations, r);
        if ((!type.isEmpty() && !f.Type_SL.contains(type)) || (!op.isEmpty() && !f.Operations_SL.contains(op)))
            std::abort();
    }
}

} // namespace

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libQt6Gui\nleak:libharfbuzz\nleak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    Fuzz_Default_Max_Len(argc, argv, "-max_len=262144");
    static QApplication app(*argc, *argv);
    static TQuietBoxes boxes;
    services::SetMessageBoxService(&boxes);
    Init_Lang_Default();
    Project_Folder = Fuzz_Temp_Folder("tables");
    Set_Project_Files();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TFHARTVariables* form = new TFHARTVariables(nullptr);
    if (!SaveFileAtomic(File_HART_Variables, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))))
        std::abort();

    form->FormShow(form);
    Check_Lists(*form);
    std::vector<QString> read = Cells(*form);
    if (form->File_Damaged())
        return 0;

    // What the next showing should find: the rows up to the first empty key
    // as they are, the rest reset.
    const TTable_Def& t = form->Tables[0];
    const int kept = [&] {
        for (int r = 1; r < t.Grid->RowCount(); ++r)
            if (Trim(t.Grid->GetCellEx(t.Key_Col, r)).isEmpty())
                return r;
        return t.Grid->RowCount();
    }();
    const int width = int(t.Columns.size());
    for (int r = kept; r < t.Grid->RowCount(); ++r)
        for (int i = 0; i < width; ++i) {
            const TTable_Column& c = t.Columns[std::size_t(i)];
            read[std::size_t((r - 1) * width + i)]
                = c.Check ? (c.Col == 1 ? QStringLiteral("x") : QStringLiteral(".")) : QString();
        }

    if (!form->Save_File())
        std::abort();
    form->FormShow(form);
    if (form->File_Damaged() || Cells(*form) != read)
        std::abort();
    return 0;
}
