#pragma once
// A shown form that owns what a button or check box test puts on it, and a
// glyph with a transparent background.

#include <memory>

#include "platform/controls/Forms.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"

struct TButtonTestForm {
    TForm* Form;
    TButtonTestForm()
    {
        Form = new TForm(nullptr);
        Form->SetBounds(20, 20, 600, 400);
        Form->Show();
    }
    ~TButtonTestForm() { delete Form; }
    TButtonTestForm(const TButtonTestForm&) = delete;
    TButtonTestForm& operator=(const TButtonTestForm&) = delete;
    template <class T> T* Add(int left, int top, int width, int height)
    {
        auto* c = new T(Form);
        c->SetParent(Form);
        c->SetBounds(left, top, width, height);
        return c;
    }
};

// A filled circle in Color on fuchsia, the colour of its bottom-left pixel.
inline std::unique_ptr<TBitmap> MakeGlyph(int size, TColor color)
{
    auto b = std::make_unique<TBitmap>(size, size);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, size, size));
    c->Brush()->SetColor(color);
    c->Pen()->SetColor(clBlack);
    c->Ellipse(1, 1, size - 1, size - 1);
    return b;
}
