#pragma once
// A grid of any class on a shown form, with fixed column widths and row
// heights so that tests can compute where cells are; it has the focus.

#include "platform/controls/Forms.h"

template <class G> struct TGridOnForm {
    TForm* Form;
    G* Grid;

    explicit TGridOnForm(int cols, int rows, int width, int height)
    {
        Form = new TForm(nullptr);
        Form->SetBounds(20, 20, width + 40, height + 40);
        Form->Show();
        Grid = new G(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, width, height);
        Grid->SetDefaultColWidth(50);
        Grid->SetDefaultRowHeight(20);
        Grid->SetColCount(cols);
        Grid->SetRowCount(rows);
        Grid->SetFocus();
    }
    ~TGridOnForm() { delete Form; }
    TGridOnForm(const TGridOnForm&) = delete;
    TGridOnForm& operator=(const TGridOnForm&) = delete;
};
