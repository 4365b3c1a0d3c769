#include <gtest/gtest.h>

#include "common/TestUtil.h"
#include "platform/controls/CategoryPanels.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Mask.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/SysUtils.h"

namespace {

template <class T> T* Put(TForm* form, TWinControl* parent, int left, int top, int width = -1, int height = -1)
{
    auto* c = new T(form);
    c->SetParent(parent);
    c->SetBounds(left, top, width < 0 ? c->Width() : width, height < 0 ? c->Height() : height);
    return c;
}

// Every standard control on one form, in a fixed state, as one picture.
TEST(ControlGallery, StandardControls)
{
    TForm* form = new TForm(nullptr);
    form->SetBounds(0, 0, 640, 480);
    form->SetColor(RGB(248, 247, 237));
    form->Font()->SetName("Verdana");
    form->Font()->SetSize(8);
    form->Show();

    // Column 1: texts and choices.
    auto* name = Put<TLabel>(form, form, 10, 12);
    name->SetCaption("&Name:");
    auto* edit = Put<TEdit>(form, form, 90, 8, 150);
    edit->SetText("Converter");
    name->SetFocusControl(edit);
    auto* ipLabel = Put<TLabel>(form, form, 10, 40);
    ipLabel->SetCaption("Address:");
    auto* ip = Put<TMaskEdit>(form, form, 90, 36, 150);
    ip->SetEditMask("000.000.000.000;1;_");
    ip->SetText("192.168.002.205");
    auto* pwd = Put<TEdit>(form, form, 90, 64, 150);
    pwd->SetPasswordChar(u'*');
    pwd->SetText("secret");
    auto* link = Put<TLinkLabel>(form, form, 10, 94);
    link->SetCaption(R"(New version: <a href="https://example.test/">download</a>)");

    auto* check = Put<TCheckBox>(form, form, 10, 116, 110);
    check->SetCaption("Enable DNS");
    check->SetChecked(true);
    auto* grayed = Put<TCheckBox>(form, form, 130, 116, 110);
    grayed->SetAllowGrayed(true);
    grayed->SetCaption("Grayed");
    grayed->SetState(cbGrayed);
    auto* r1 = Put<TRadioButton>(form, form, 10, 138, 110);
    r1->SetCaption("Primary");
    r1->SetChecked(true);
    auto* r2 = Put<TRadioButton>(form, form, 130, 138, 110);
    r2->SetCaption("Secondary");

    auto* list = Put<TComboBox>(form, form, 10, 162, 110);
    list->SetStyle(csDropDownList);
    list->Items()->SetCommaText("RS232,RS485");
    list->SetItemIndex(1);
    auto* combo = Put<TComboBox>(form, form, 130, 162, 110);
    combo->Items()->SetCommaText("1200,9600,115200");
    combo->SetText("57600");

    auto* lb = Put<TListBox>(form, form, 10, 192, 110, 70);
    lb->Items()->SetCommaText("ALPHA,BETA,GAMMA,DELTA");
    lb->SetItemIndex(1);
    auto* memo = Put<TMemo>(form, form, 130, 192, 110, 70);
    memo->Lines()->Add("First line");
    memo->Lines()->Add("Second line");

    auto* ok = Put<TButton>(form, form, 10, 272);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    auto* cancel = Put<TButton>(form, form, 100, 272);
    cancel->SetCaption("Cancel");

    auto* raised = Put<TPanel>(form, form, 10, 306, 110, 40);
    raised->SetCaption("Raised");
    raised->SetParentBackground(false);
    auto* lowered = Put<TPanel>(form, form, 130, 306, 110, 40);
    lowered->SetCaption("Lowered");
    lowered->SetBevelOuter(bvLowered);
    lowered->SetParentBackground(false);
    lowered->SetColor(clWhite);

    auto* rect = Put<TShape>(form, form, 10, 356, 40, 30);
    rect->Brush()->SetColor(RGB(231, 216, 216));
    auto* circle = Put<TShape>(form, form, 60, 356, 40, 30);
    circle->SetShape(stCircle);
    circle->Pen()->SetColor(clRed);
    circle->Pen()->SetWidth(2);
    auto* round = Put<TShape>(form, form, 110, 356, 40, 30);
    round->SetShape(stRoundRect);
    round->Brush()->SetStyle(TBrushStyle::bsClear);
    auto* line = Put<TShape>(form, form, 10, 396, 230, 1);
    line->Pen()->SetColor(clGray);

    auto* image = Put<TImage>(form, form, 170, 352, 70, 40);
    TBitmap* bmp = image->Picture()->Bitmap();
    bmp->SetSize(20, 20);
    bmp->Canvas()->Brush()->SetColor(clNavy);
    bmp->Canvas()->FillRect(Rect(0, 0, 20, 20));
    bmp->Canvas()->Brush()->SetColor(clYellow);
    bmp->Canvas()->FillRect(Rect(5, 5, 15, 15));
    image->SetCenter(true);
    image->SetStretch(true);
    image->SetProportional(true);

    // Column 2: pages, bars, picker, scroll box.
    auto* pc = Put<TPageControl>(form, form, 260, 8, 180, 110);
    auto* page1 = new TTabSheet(form);
    page1->SetPageControl(pc);
    page1->SetCaption("Language");
    auto* page2 = new TTabSheet(form);
    page2->SetPageControl(pc);
    page2->SetCaption("Connection");
    auto* onPage = Put<TLabel>(form, page1, 8, 8);
    onPage->SetCaption("English");
    pc->SetActivePage(page1);

    auto* tb = Put<TTrackBar>(form, form, 260, 126, 180, 30);
    tb->SetMax(10);
    tb->SetPosition(4);
    auto* pb = Put<TProgressBar>(form, form, 260, 162, 180, 16);
    pb->SetPosition(60);
    auto* dt = Put<TDateTimePicker>(form, form, 260, 186, 180);
    dt->SetFormat("dd/MM/yyyy");
    dt->SetDateTime(EncodeDate(2024, 2, 29));
    auto* time = Put<TDateTimePicker>(form, form, 260, 214, 180);
    time->SetKind(dtkTime);
    time->SetFormat("HH:mm:ss");
    time->SetDateTime(EncodeTime(13, 45, 30, 0));

    auto* box = Put<TScrollBox>(form, form, 260, 244, 180, 70);
    auto* inBox = Put<TLabel>(form, box, 4, 4);
    inBox->SetCaption("Inside the scroll box");
    auto* far = Put<TLabel>(form, box, 4, 120);
    far->SetCaption("Below the fold");

    // Column 3: the category panel group.
    auto* cpg = Put<TCategoryPanelGroup>(form, form, 460, 8, 170, 300);
    cpg->SetGradientColor(RGB(231, 216, 216));
    cpg->SetGradientBaseColor(clWhite);
    cpg->SetChevronHotColor(clRed);
    cpg->HeaderFont()->SetName("Verdana");
    cpg->HeaderFont()->SetStyle(TFontStyle::fsBold);
    cpg->HeaderFont()->SetColor(clGray);
    cpg->SetColor(RGB(248, 247, 237));
    const char* captions[] = { "1. Ethernet", "2. HART Master", "3. Web Pages" };
    for (int i = 0; i < 3; ++i) {
        TCategoryPanel* p = cpg->CreatePanel(form);
        p->SetCaption(captions[i]);
        p->SetColor(RGB(248, 247, 237));
        auto* l = Put<TLabel>(form, p, 14, 12);
        l->SetCaption("Setting");
        auto* e = Put<TEdit>(form, p, 80, 9, 70);
        e->SetText(QString::number(i * 10));
        p->SetHeight(e->Top() + e->Height() + cpg->HeaderHeight() + 12);
    }
    cpg->Panels(1)->Collapse();

    const QImage img = form->PaintToImage();
    testutil::SaveImagePng(img, "standard_controls");
    EXPECT_TRUE(testutil::MatchesGolden(img, "standard_controls"));
    delete form;
}

} // namespace
