#include "app/core/UAbout.h"

#include <algorithm>

#include "app/core/LbButton.h"
#include "app/core/UComon.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Services.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"

TFAbout* FAbout = nullptr;

namespace {

constexpr int Picture_Size = 81;

// The product picture: a converter joining the HART loop (left) to the
// fieldbus side (right).
void Draw_Product_Picture(TBitmap* bmp)
{
    bmp->SetSize(Picture_Size, Picture_Size);
    TCanvas* c = bmp->Canvas();
    c->Brush()->SetColor(Tool_Form_Color);
    c->FillRect(Rect(0, 0, Picture_Size, Picture_Size));
    c->Pen()->SetColor(RGB(0, 70, 150));
    c->Brush()->SetColor(RGB(30, 110, 200));
    c->RoundRect(1, 1, 80, 80, 18, 18);
    c->Pen()->SetColor(clWhite);
    c->Brush()->SetColor(clWhite);
    c->Rectangle(12, 27, 33, 54);
    c->Rectangle(48, 27, 69, 54);
    c->Rectangle(33, 38, 48, 43);
    c->Brush()->SetColor(RGB(255, 128, 0));
    c->Pen()->SetColor(RGB(255, 128, 0));
    c->Ellipse(17, 35, 28, 46);
    c->Rectangle(53, 33, 64, 36);
    c->Rectangle(53, 39, 64, 42);
    c->Rectangle(53, 45, 64, 48);
}

TLabel* Make_Label(TForm* form, TPanel* parent, const char* name, int left, int top, bool bold)
{
    auto* l = new TLabel(form);
    l->SetName(QString::fromLatin1(name));
    l->SetParent(parent);
    l->SetLeft(left);
    l->SetTop(top);
    if (bold)
        l->Font()->SetStyle(TFontStyles(TFontStyle::fsBold));
    return l;
}

} // namespace

TFAbout::TFAbout(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FAbout"));
    Setup_Tool_Form(this, 425, 148);
    SetCaption(QStringLiteral("About..."));

    // The shared title panel, made taller to hold the picture beside the code.
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    P_Title->SetHeight(97);
    L_SW_Code = t.L_SW_Code;
    L_SW_Code->SetLeft(104);
    L_SW_Code->SetTop(6);
    L_SW_Desc = t.L_SW_Desc;
    L_SW_Desc->SetVisible(false);

    Image2 = new TImage(this);
    Image2->SetName(QStringLiteral("Image2"));
    Image2->SetParent(P_Title);
    Image2->SetBounds(8, 8, Picture_Size, Picture_Size);
    Image2->SetStretch(true);
    Image2->SetCursor(crHandPoint);
    Draw_Product_Picture(Image2->Picture()->Bitmap());
    Image2->OnClick = [this](TObject* s) { Label4Click(s); };

    Label1 = Make_Label(this, P_Title, "Label1", 104, 52, false);
    Label1->SetCaption(QStringLiteral("Software Morvantile "));
    Label2 = Make_Label(this, P_Title, "Label2", 104, 70, true);

    P_Button = Create_Button_Panel(this, 51);

    Label3 = Make_Label(this, P_Button, "Label3", 16, 8, false);
    Label3->SetCaption(QStringLiteral("Version :"));
    Label8 = Make_Label(this, P_Button, "Label8", 16, 28, false);
    Label8->SetCaption(QStringLiteral("Document Code :"));
    const int values1 = 16 + std::max(Label3->Width(), Label8->Width()) + 4;
    Label10 = Make_Label(this, P_Button, "Label10", values1, 8, true);
    Label12 = Make_Label(this, P_Button, "Label12", values1, 28, true);

    Label6 = Make_Label(this, P_Button, "Label6", 180, 8, false);
    Label6->SetCaption(QStringLiteral("Software Code : "));
    Label9 = Make_Label(this, P_Button, "Label9", 180 + Label6->Width(), 8, true);
    Label4 = Make_Label(this, P_Button, "Label4", 180, 28, false);
    Label4->SetCaption(Maker_Domain);
    Label4->Font()->SetColor(clBlue);
    Label4->Font()->SetStyle(TFontStyles(TFontStyle::fsUnderline));
    Label4->SetCursor(crHandPoint);
    Label4->OnClick = [this](TObject* s) { Label4Click(s); };

    LbButton1 = new TLbButton(this);
    LbButton1->SetName(QStringLiteral("LbButton1"));
    LbButton1->SetParent(P_Button);
    // Narrow enough to stay clear of the bold code beside it.
    LbButton1->SetBounds(345, 13, 64, 26);
    LbButton1->SetStyle(bsEncarta);
    LbButton1->SetCaption(QStringLiteral("OK"));
    LbButton1->SetModalResult(mrOk);
    LbButton1->SetCancel(true);
    Setup_Tool_Button(LbButton1);

    OnShow = [this](TObject* s) { FormShow(s); };
    L_SW_Code->SetCaption(SW_Code);
}

TFAbout::~TFAbout()
{
    if (FAbout == this)
        FAbout = nullptr;
}

void TFAbout::FormShow(TObject*)
{
    Label2->SetCaption(SW_Desc_Const);
    Label9->SetCaption(SW_Code_Const);
    Label10->SetCaption(SW_Version);
    Label12->SetCaption(Document_Code);
    SetClientWidth(425);
    SetClientHeight(148);
}

void TFAbout::Label4Click(TObject*)
{
    OpenURL(Maker_Home_Page);
}
