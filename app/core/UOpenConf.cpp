#include "app/core/UOpenConf.h"

#include <algorithm>

#include "app/core/LbButton.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/FileUtils.h"

TFOpenConf* FOpenConf = nullptr;

TFOpenConf::TFOpenConf(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FOpenConf"));
    Setup_Tool_Form(this, 377, 351);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;

    Label1 = new TLabel(this);
    Label1->SetName(QStringLiteral("Label1"));
    Label1->SetParent(this);
    Label1->SetLeft(16);
    Label1->SetTop(76);

    ListBox1 = new TListBox(this);
    ListBox1->SetName(QStringLiteral("ListBox1"));
    ListBox1->SetParent(this);
    ListBox1->SetBounds(16, 92, 345, 215);
    ListBox1->SetShowHint(true);
    ListBox1->OnClick = [this](TObject* s) { ListBox1Click(s); };
    ListBox1->OnDblClick = [this](TObject* s) { ListBox1DblClick(s); };
    // The platform list box reports a double click as a second press.
    ListBox1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState shift, int, int) {
        if (b == mbLeft && shift.testFlag(ssDouble))
            ListBox1DblClick(s);
    };

    P_Button = Create_Button_Panel(this, 36);

    auto makeButton = [this](const char* name, int left, TModalResult result) {
        auto* b = new TLbButton(this);
        b->SetName(QString::fromLatin1(name));
        b->SetParent(P_Button);
        b->SetBounds(left, 4, 100, 26);
        b->SetStyle(bsEncarta);
        b->SetShowHint(true);
        b->SetModalResult(result);
        Setup_Tool_Button(b);
        return b;
    };
    Btn_OK = makeButton("Btn_OK", 153, mrOk);
    Btn_Cancel = makeButton("Btn_Cancel", 261, mrCancel);
    Btn_Cancel->SetCancel(true);
    // Enter in the list opens the selected configuration.
    Btn_OK->SetDefault(true);

    OnShow = [this](TObject* s) { FormShow(s); };
    L_SW_Code->SetCaption(SW_Code);
    Set_Lang();
}

TFOpenConf::~TFOpenConf()
{
    if (FOpenConf == this)
        FOpenConf = nullptr;
}

void TFOpenConf::Set_Lang()
{
    SetCaption(Lang(200));
    L_SW_Desc->SetCaption(Lang(201));
    Label1->SetCaption(Lang(202));
    Btn_OK->SetCaption(Lang(203));
    Btn_Cancel->SetCaption(Lang(204));
    ListBox1->SetHint(Lang(205));
    Btn_OK->SetHint(Lang(206));
    Btn_Cancel->SetHint(Lang(207));
}

void TFOpenConf::Load_Existing_Configuration()
{
    SL.clear();
    // A folder made outside the tool whose name the tool refuses to open
    // (a separator-like character, for one) is not offered.
    for (const TFileEntry& e : ListDirectory(Projects_Folder))
        if (e.Directory && Is_Safe_Project_Name(e.Name))
            SL.append(e.Name);
    // The home file system orders names by their upper-case form; names equal
    // that way keep a fixed order between themselves.
    std::sort(SL.begin(), SL.end(), [](const QString& a, const QString& b) {
        const int c = a.toUpper().compare(b.toUpper(), Qt::CaseSensitive);
        return c != 0 ? c < 0 : a.compare(b, Qt::CaseSensitive) < 0;
    });
}

int TFOpenConf::Search_Open_Conf(const QString& name) const
{
    for (int i = 0; i < SL.size(); ++i)
        if (SL[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TFOpenConf::FormShow(TObject*)
{
    Load_Existing_Configuration();
    ListBox1->Items()->Clear();
    for (const QString& name : SL)
        ListBox1->Items()->Add(name);

    QString active;
    const QString prefix = Projects_Folder + QLatin1Char('/');
    if (!Project_Folder.isEmpty() && Project_Folder.startsWith(prefix))
        active = Project_Folder.mid(prefix.size());
    // The exact name first: "Alpha" and "ALPHA" may both be there.
    int index = active.isEmpty() ? -1 : int(SL.indexOf(active));
    if (index < 0 && !active.isEmpty())
        index = Search_Open_Conf(active);
    if (index < 0 && !SL.isEmpty())
        index = 0;
    if (index >= 0) {
        ListBox1->SetItemIndex(index);
        Name_Conf = SL[index];
    } else {
        // With no project folder left, a name kept from an earlier use would
        // name a folder that is gone.
        Name_Conf.clear();
    }
}

void TFOpenConf::ListBox1Click(TObject*)
{
    const int index = ListBox1->ItemIndex();
    if (index >= 0 && index < ListBox1->Items()->Count())
        Name_Conf = ListBox1->Items()->Get(index);
}

void TFOpenConf::ListBox1DblClick(TObject* Sender)
{
    if (ListBox1->ItemIndex() < 0)
        return;
    ListBox1Click(Sender);
    SetModalResult(mrOk);
}
