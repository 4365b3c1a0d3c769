// The HART variables table under real key input on the shown form: Space
// on the check boxes, which a row's type locks or frees.
#include "app/core/SharedStateGuard.h"
#include "app/core/ULanguage.h"
#include "app/tables/UHARTVariables.h"
#include "controls/grid/ExGrid.h"
#include "platform/controls/Controls.h"
#include "platform/controls/ModalDriver.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class HartVariablesInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        Init_Lang_Default();
        Project_Folder.clear();
        Set_Project_Files();
        Form = std::make_unique<TFHARTVariables>(nullptr);
        G = Form->ESG;
        Form->Show();
        Form->FormShow(Form.get());
        G->SetFocus();
    }
    void TearDown() override
    {
        Form->Close();
        Form.reset();
    }
    bool Checked(int c, int r) const
    {
        bool state = false;
        return G->GetCheckBoxState(c, r, state) && state;
    }
    void Space_On(int c, int r)
    {
        G->SetCol(c);
        G->SetRow(r);
        input::Key(G, VK_SPACE, {}, u' ');
    }

    TSharedStateGuard State;
    std::unique_ptr<TFHARTVariables> Form;
    TExStringGrid* G = nullptr;
};

TEST_F(HartVariablesInput, SpaceTogglesTheBoxesTheTypeLeavesFree)
{
    G->SetCells(HART_Var_Col_Type, 2, "Command");
    G->OnComboChange(G, HART_Var_Col_Type, 2, 2, "Command");
    struct Case {
        const char* Name;
        int Col, Row;
        bool Before, After;
    } cases[] = {
        { "Enable of a new row", HART_Var_Col_Enable, 1, true, false },
        { "Swap of a variable row", HART_Var_Col_Swap, 1, false, true },
        { "Conv Int of a variable row", HART_Var_Col_ConvInt, 1, false, true },
        { "Enable of a command row", HART_Var_Col_Enable, 2, true, false },
        { "Swap of a command row is locked", HART_Var_Col_Swap, 2, false, false },
        { "Conv Int of a command row is locked", HART_Var_Col_ConvInt, 2, false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Checked(c.Col, c.Row), c.Before);
        Space_On(c.Col, c.Row);
        EXPECT_EQ(Checked(c.Col, c.Row), c.After);
    }
    // Back to a variable: the boxes are free again.
    G->SetCells(HART_Var_Col_Type, 2, "Var");
    G->OnComboChange(G, HART_Var_Col_Type, 2, 0, "Var");
    Space_On(HART_Var_Col_Swap, 2);
    EXPECT_TRUE(Checked(HART_Var_Col_Swap, 2));
}

} // namespace
