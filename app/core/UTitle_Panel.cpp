#include "app/core/UTitle_Panel.h"

#include "app/core/LbButton.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Graphics.h"

void Setup_Tool_Form(TForm* form, int clientWidth, int clientHeight)
{
    form->SetBorderStyle(bsSingle);
    form->SetBorderIcons(TBorderIcons(biSystemMenu));
    form->SetPosition(poScreenCenter);
    form->SetColor(Tool_Form_Color);
    form->Font()->SetName(QStringLiteral("Verdana"));
    form->Font()->SetSize(8);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);
}

void Setup_Tool_Button(TLbButton* button)
{
    button->SetColor(Tool_Form_Color);
    button->SetLightColor(clGray);
    button->SetColorWhenDown(RGB(255, 128, 0));
    button->SetHotTrackColor(clYellow);
}

TTitle_Panel Create_Title_Panel(TForm* form)
{
    TTitle_Panel t;
    t.P_Title = new TPanel(form);
    t.P_Title->SetName(QStringLiteral("P_Title"));
    t.P_Title->SetParent(form);
    t.P_Title->SetAlign(alTop);
    t.P_Title->SetHeight(69);
    t.P_Title->SetBevelOuter(bvNone);
    t.P_Title->SetShowCaption(false);
    t.P_Title->SetParentBackground(false);
    t.P_Title->SetColor(Tool_Form_Color);

    t.L_SW_Code = new TLabel(form);
    t.L_SW_Code->SetName(QStringLiteral("L_SW_Code"));
    t.L_SW_Code->SetParent(t.P_Title);
    t.L_SW_Code->Font()->SetName(QStringLiteral("Verdana"));
    t.L_SW_Code->Font()->SetHeight(-32);
    t.L_SW_Code->Font()->SetColor(clGray);
    t.L_SW_Code->SetLeft(16);
    t.L_SW_Code->SetTop(8);

    t.L_SW_Desc = new TLabel(form);
    t.L_SW_Desc->SetName(QStringLiteral("L_SW_Desc"));
    t.L_SW_Desc->SetParent(t.P_Title);
    t.L_SW_Desc->Font()->SetName(QStringLiteral("Verdana"));
    t.L_SW_Desc->Font()->SetHeight(-11);
    t.L_SW_Desc->Font()->SetStyle(TFontStyles(TFontStyle::fsBold));
    t.L_SW_Desc->Font()->SetColor(clGray);
    t.L_SW_Desc->SetLeft(16);
    t.L_SW_Desc->SetTop(42);
    return t;
}

TPanel* Create_Button_Panel(TForm* form, int height)
{
    auto* panel = new TPanel(form);
    panel->SetName(QStringLiteral("P_Button"));
    panel->SetParent(form);
    panel->SetAlign(alBottom);
    panel->SetHeight(height);
    panel->SetBevelOuter(bvNone);
    panel->SetShowCaption(false);
    panel->SetParentBackground(false);
    panel->SetColor(Tool_Form_Color);
    return panel;
}

TLabel* Create_Tool_Label(TForm* form, TWinControl* parent, const char* name, int left, int top)
{
    auto* l = new TLabel(form);
    l->SetName(QString::fromLatin1(name));
    l->SetParent(parent);
    l->SetLeft(left);
    l->SetTop(top);
    return l;
}

TLbButton* Create_Tool_Button(
    TForm* form, TWinControl* parent, const char* name, int left, int top, int width, int height)
{
    auto* b = new TLbButton(form);
    b->SetName(QString::fromLatin1(name));
    b->SetParent(parent);
    b->SetBounds(left, top, width, height);
    Setup_Tool_Button(b);
    b->SetStyle(bsEncarta);
    b->SetShowHint(true);
    return b;
}

TOctet_Fields Create_Octet_Fields(TForm* form, TWinControl* parent, const QString& prefix, int top)
{
    constexpr int lefts[4] = { 16, 72, 128, 184 };
    constexpr int width = 45;
    TOctet_Fields fields {};
    for (int i = 0; i < 4; ++i) {
        auto* e = new TEdit(form);
        e->SetName(prefix + QString::number(i + 1));
        e->SetParent(parent);
        e->SetBounds(lefts[i], top, width, 21);
        e->SetTabOrder(i);
        e->SetShowHint(true);
        fields[std::size_t(i)] = e;
        if (i < 3)
            Create_Tool_Label(form, parent, "", lefts[i] + width + 3, top + 4)->SetCaption(QStringLiteral("."));
    }
    return fields;
}

void Octet_Key_Press(const TOctet_Fields& fields, TObject* Sender, char16_t& Key)
{
    if (Key != u'.')
        return;
    for (std::size_t i = 0; i + 1 < fields.size(); ++i) {
        if (Sender == fields[i]) {
            if (fields[i + 1]->CanFocus())
                fields[i + 1]->SetFocus();
            break;
        }
    }
    Key = 0;
}

QString Octet_Address(const TOctet_Fields& fields)
{
    const QChar dot(u'.');
    return fields[0]->Text() + dot + fields[1]->Text() + dot + fields[2]->Text() + dot + fields[3]->Text();
}
