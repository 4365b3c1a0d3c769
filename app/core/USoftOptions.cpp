#include "app/core/USoftOptions.h"

#include <QCoreApplication>
#include <QUrl>
#include <algorithm>

#include "app/core/LbButton.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Services.h"
#include "platform/controls/StdCtrls.h"
#include "platform/net/HttpClient.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/SysUtils.h"

TFSoftOptions* FSoftOptions = nullptr;
QString Version_Script_Url = Version_Script_Default;

namespace {

const QString Lang_Ext = QStringLiteral(".lng");

// Puts a control on its parent at a fixed place.
template <class T> T* Place(TComponent* owner, TWinControl* parent, const char* name, int left, int top)
{
    auto* c = new T(owner);
    c->SetName(QString::fromLatin1(name));
    c->SetParent(parent);
    c->SetLeft(left);
    c->SetTop(top);
    return c;
}

} // namespace

TFSoftOptions::TFSoftOptions(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FSoftOptions"));
    Setup_Tool_Form(this, 460, 380);
    SetShowHint(true);
    Create_Controls();
    L_SW_Code->SetCaption(SW_Code);
    PC_Options->SetActivePage(TS_Con_Options);
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    Set_Lang();
}

TFSoftOptions::~TFSoftOptions()
{
    if (FSoftOptions == this)
        FSoftOptions = nullptr;
}

TLbButton* TFSoftOptions::Make_Button(TWinControl* parent, const char* name, int left, int top, int width)
{
    auto* b = Place<TLbButton>(this, parent, name, left, top);
    b->SetWidth(width);
    b->SetHeight(28);
    Setup_Tool_Button(b);
    b->SetStyle(bsEncarta);
    return b;
}

TCheckBox* TFSoftOptions::Make_CheckBox(TWinControl* parent, const char* name, int left, int top, int width)
{
    auto* cb = Place<TCheckBox>(this, parent, name, left, top);
    cb->SetWidth(width);
    cb->SetHeight(20);
    cb->OnClick = [this](TObject* Sender) { CB_En_ConClick(Sender); };
    return cb;
}

void TFSoftOptions::Create_Controls()
{
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;

    P_Button = Place<TPanel>(this, this, "P_Button", 0, 0);
    P_Button->SetAlign(alBottom);
    P_Button->SetHeight(44);
    P_Button->SetBevelOuter(bvNone);
    P_Button->SetShowCaption(false);
    P_Button->SetParentBackground(false);
    P_Button->SetColor(Tool_Form_Color);
    // OK closes only through its handler, which stores the options first.
    Btn_OK = Make_Button(P_Button, "Btn_OK", 228, 8, 104);
    Btn_OK->OnClick = [this](TObject* Sender) { Btn_OKClick(Sender); };
    Btn_Cancel = Make_Button(P_Button, "Btn_Cancel", 342, 8, 104);
    Btn_Cancel->SetModalResult(mrCancel);
    Btn_Cancel->SetCancel(true);

    PC_Options = Place<TPageControl>(this, this, "PC_Options", 0, 0);
    PC_Options->SetAlign(alClient);
    auto makeSheet = [this](const char* name) {
        auto* s = new TTabSheet(this);
        s->SetName(QString::fromLatin1(name));
        s->SetPageControl(PC_Options);
        s->SetColor(Tool_Form_Color);
        return s;
    };
    TS_Language = makeSheet("TS_Language");
    TS_Con_Options = makeSheet("TS_Con_Options");
    TS_Soft_Settings = makeSheet("TS_Soft_Settings");

    // Language page: the selection on top, three slots a column, paging below.
    L_Sel_Lang = Place<TLabel>(this, TS_Language, "L_Sel_Lang", 12, 10);
    L_Sel_Lang->Font()->SetStyle(TFontStyles(TFontStyle::fsBold));
    for (int k = 0; k < Lang_Slots; ++k) {
        const int left = k < 3 ? 16 : 232;
        const int top = 34 + (k % 3) * 56;
        const QByteArray n = QByteArray::number(k + 1);
        TImage* img = Place<TImage>(this, TS_Language, ("I_L" + n).constData(), left, top);
        img->SetWidth(48);
        img->SetHeight(48);
        img->SetStretch(true);
        img->SetProportional(true);
        img->SetCenter(true);
        img->SetCursor(crHandPoint);
        img->OnClick = [this](TObject* Sender) { LangClick(Sender); };
        I_L[k] = img;
        TLabel* lbl = Place<TLabel>(this, TS_Language, ("L_L" + n).constData(), left + 56, top + 17);
        lbl->SetCursor(crHandPoint);
        lbl->OnClick = [this](TObject* Sender) { LangClick(Sender); };
        L_L[k] = lbl;
    }
    L_Page_Lang = Place<TLabel>(this, TS_Language, "L_Page_Lang", 12, 210);
    Btn_Prev = Make_Button(TS_Language, "Btn_Prev", 232, 202, 96);
    Btn_Prev->OnClick = [this](TObject* Sender) { Btn_NextClick(Sender); };
    Btn_Next = Make_Button(TS_Language, "Btn_Next", 336, 202, 96);
    Btn_Next->OnClick = [this](TObject* Sender) { Btn_NextClick(Sender); };

    // Connection page: the update option belongs to the internet option.
    CB_En_Con = Make_CheckBox(TS_Con_Options, "CB_En_Con", 16, 16, 410);
    CB_Update = Make_CheckBox(TS_Con_Options, "CB_Update", 36, 42, 390);
    Btn_Check_Update = Make_Button(TS_Con_Options, "Btn_Check_Update", 16, 82, 220);
    Btn_Check_Update->OnClick = [this](TObject* Sender) { Btn_Check_UpdateClick(Sender); };
    LL_Check_Update = Place<TLinkLabel>(this, TS_Con_Options, "LL_Check_Update", 16, 126);
    LL_Check_Update->SetVisible(false);
    LL_Check_Update->OnLinkClick
        = [this](TObject* Sender, const QString& Link, TSysLinkType) { LL_Check_UpdateLinkClick(Sender, Link); };

    CB_Soft_Set_Jump_Table = Make_CheckBox(TS_Soft_Settings, "CB_Soft_Set_Jump_Table", 16, 16, 420);
    CB_DoubleClick_Auto_Size = Make_CheckBox(TS_Soft_Settings, "CB_DoubleClick_Auto_Size", 16, 42, 420);
}

void TFSoftOptions::Set_Lang()
{
    SetCaption(Lang(300));
    L_SW_Desc->SetCaption(Lang(301));
    TS_Language->SetCaption(Lang(302));
    TS_Con_Options->SetCaption(Lang(303));
    TS_Soft_Settings->SetCaption(Lang(319));
    L_Sel_Lang->SetCaption(Lang(304));
    L_Page_Lang->SetCaption(Lang(305) + QStringLiteral("1") + Lang(306) + QStringLiteral("1"));
    Btn_Prev->SetCaption(Lang(307));
    Btn_Next->SetCaption(Lang(308));
    CB_En_Con->SetCaption(Lang(309));
    CB_Update->SetCaption(Lang(310));
    Btn_Check_Update->SetCaption(Lang(311));
    Btn_OK->SetCaption(Lang(312));
    Btn_Cancel->SetCaption(Lang(313));
    CB_Soft_Set_Jump_Table->SetCaption(Lang(320));
    CB_DoubleClick_Auto_Size->SetCaption(Lang(321));
    // Once the dialog has a list, the page shown is drawn again so that the
    // counter and the selection keep telling the truth in the new language.
    if (FListBuilt)
        Update_Lang_Page(Show_Page);
}

void TFSoftOptions::FormShow(TObject*)
{
    Language_In_Use = Language_Name;
    // An answer to a check of an earlier opening is no longer wanted.
    FCheck.Cancel();
    Create_Lang_List();
    Update_CheckBox();
    LL_Check_Update->SetVisible(false);
    PC_Options->SetActivePage(TS_Language);
    // Each box whose state changes runs its click handler, which keeps the
    // enabling rule in step.
    CB_En_Con->SetChecked(Opt_Enable_Internet);
    CB_Update->SetChecked(Opt_Enable_Update);
    CB_Soft_Set_Jump_Table->SetChecked(Opt_Jump_Field_Tables);
    CB_DoubleClick_Auto_Size->SetChecked(Opt_Dbl_Click_Auto_Size);
}

void TFSoftOptions::Create_Lang_List()
{
    SL_Languages.clear();
    for (const TFileEntry& e : ListDirectory(Language_Folder, QStringLiteral("*.lng"))) {
        // Folders and files nobody may write are not offered. Only names the
        // language loader can open are listed: its file name ends in exactly
        // ".lng", and a language needs a name.
        if (e.Directory || e.ReadOnly)
            continue;
        if (!e.Name.endsWith(Lang_Ext, Qt::CaseSensitive) || e.Name.size() <= Lang_Ext.size())
            continue;
        if (!FileExists(Join_Path(Language_Folder, e.Name)))
            continue;
        SL_Languages << e.Name;
    }
    std::stable_sort(SL_Languages.begin(), SL_Languages.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    FListBuilt = true;
    Show_Page = 1;
    Update_Lang_Page(Show_Page);
}

int TFSoftOptions::Page_Count() const
{
    return (int(SL_Languages.size()) + Lang_Slots - 1) / Lang_Slots;
}

void TFSoftOptions::Update_Lang_Page(int Page)
{
    L_Sel_Lang->SetCaption(Lang(304) + Language_In_Use);
    const int pages = Page_Count();
    L_Page_Lang->SetCaption(Lang(305) + QString::number(Page) + Lang(306) + QString::number(pages));
    Btn_Prev->SetVisible(Page > 1);
    // With no language at all there is no next page either.
    Btn_Next->SetVisible(Page < pages);

    const int onPage = std::clamp(int(SL_Languages.size()) - Lang_Slots * (Page - 1), 0, Lang_Slots);
    for (int k = 0; k < Lang_Slots; ++k) {
        // Slot 1 always stays, so an empty list still shows where languages go.
        const bool shown = k == 0 || k < onPage;
        I_L[k]->SetVisible(shown);
        L_L[k]->SetVisible(shown);
    }
    if (onPage == 0) {
        // Nothing to pick: the first slot shows nothing rather than a
        // language that is no longer there.
        L_L[0]->SetCaption(QString());
        I_L[0]->Picture()->Assign(nullptr);
        I_L[0]->SetVisible(false);
        return;
    }
    for (int k = 0; k < onPage; ++k) {
        const QString file = SL_Languages.at((Page - 1) * Lang_Slots + k);
        const QString name = file.left(file.size() - Lang_Ext.size());
        L_L[k]->SetCaption(name);
        QString flag = Join_Path(Language_Folder, name + QStringLiteral(".bmp"));
        if (!FileExists(flag))
            flag = Join_Path(Language_Folder, QStringLiteral("DefaultFlag.bmp"));
        bool loaded = false;
        I_L[k]->Picture()->Assign(nullptr);
        if (FileExists(flag)) {
            try {
                I_L[k]->Picture()->LoadFromFile(flag);
                loaded = I_L[k]->Picture()->Width() > 0 && I_L[k]->Picture()->Height() > 0;
            } catch (const Exception&) {
                // A damaged picture leaves the slot with its name only.
                loaded = false;
            }
        }
        I_L[k]->SetVisible(loaded);
    }
}

void TFSoftOptions::Btn_NextClick(TObject* Sender)
{
    if (Sender == Btn_Next) {
        if (Page_Count() >= Show_Page + 1)
            ++Show_Page;
    } else if (Sender == Btn_Prev) {
        if (Show_Page > 1)
            --Show_Page;
    }
    Update_Lang_Page(Show_Page);
}

int TFSoftOptions::Slot_Of(TObject* Sender) const
{
    for (int k = 0; k < Lang_Slots; ++k) {
        if (Sender == I_L[k] || Sender == L_L[k])
            return k + 1;
    }
    return 0;
}

void TFSoftOptions::LangClick(TObject* Sender)
{
    const int slot = Slot_Of(Sender);
    if (slot == 0)
        return;
    const int index = Lang_Slots * (Show_Page - 1) + slot - 1;
    // A slot without a language behind it picks nothing.
    if (index < 0 || index >= SL_Languages.size())
        return;
    const QString file = SL_Languages.at(index);
    const QString name = file.left(file.size() - Lang_Ext.size());
    const QString question = Lang(316) + Language_In_Use + Lang(317) + name + Lang(318);
    if (MessageDlg(question, mtConfirmation, mbYesNo) != mrYes)
        return;

    // The table is reloaded for the picked language, while Language_Name keeps
    // its value until OK.
    const QString saved = Language_Name;
    Language_Name = name;
    QString loadedName;
    try {
        Load_Language();
        loadedName = Language_Name;
    } catch (...) {
        Language_Name = saved;
        throw;
    }
    Language_Name = saved;
    // A file gone since the list was made falls back to English; the
    // selection then names the language actually shown.
    Language_In_Use = loadedName;
    if (FMorvantinoFirmWare)
        FMorvantinoFirmWare->Change_Language();
    else
        Set_Lang();
    L_Sel_Lang->SetCaption(Lang(304) + Language_In_Use);
}

void TFSoftOptions::CB_En_ConClick(TObject*)
{
    Update_CheckBox();
}

void TFSoftOptions::Update_CheckBox()
{
    CB_Update->SetEnabled(CB_En_Con->Checked());
    Btn_Check_Update->SetEnabled(CB_Update->Enabled() && CB_Update->Checked() && !FCheck.Running());
}

void TFSoftOptions::Btn_OKClick(TObject*)
{
    Language_Name = Language_In_Use;
    Opt_Enable_Internet = CB_En_Con->Checked();
    Opt_Enable_Update = CB_Update->Checked();
    if (FMorvantinoFirmWare)
        FMorvantinoFirmWare->Arm_Update_Timer();
    Opt_Jump_Field_Tables = CB_Soft_Set_Jump_Table->Checked();
    Opt_Dbl_Click_Auto_Size = CB_DoubleClick_Auto_Size->Checked();
    SetModalResult(mrOk);
}

void TFSoftOptions::Btn_Check_UpdateClick(TObject*)
{
    const THttpClient base = FMorvantinoFirmWare ? FMorvantinoFirmWare->HTTP1 : THttpClient();
    if (!FCheck.Start(Version_Fetch(base), [this](TVersion_Answer answer) {
            Show_Check_Result(answer);
            Update_CheckBox();
        }))
        return;
    // One check at a time; the answer enables it again.
    Update_CheckBox();
}

void TFSoftOptions::Show_Check_Result(TVersion_Answer answer)
{
    if (answer == TVersion_Answer::Newer)
        LL_Check_Update->SetCaption(QStringLiteral("<a href=\"%1\">%2</a>").arg(Maker_Download_Page, Lang(314)));
    else if (answer == TVersion_Answer::No_Answer)
        LL_Check_Update->SetCaption(Version_Server_Unreachable);
    else
        LL_Check_Update->SetCaption(Lang(315));
    LL_Check_Update->SetVisible(true);
}

void TFSoftOptions::LL_Check_UpdateLinkClick(TObject*, const QString& Link)
{
    OpenURL(Link);
}

TVersion_Fetch TFSoftOptions::Version_Fetch(const THttpClient& base)
{
    // The main window's client, with the headers and bounded waits the check
    // needs whoever set it up.
    THttpClient http = base;
    http.SetRequestHeader(
        QStringLiteral("Accept"), QStringLiteral("text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"));
    http.SetRequestHeader(QStringLiteral("User-Agent"), QStringLiteral("Mozilla/3.0 (compatible; Indy Library)"));
    http.SetConnectTimeoutMs(Version_Check_Timeout);
    http.SetReadTimeoutMs(Version_Check_Timeout);
    http.SetTotalTimeoutMs(Version_Check_Timeout);
    http.SetMaxReplyBytes(Version_Check_Max_Reply);

    const QString url
        = Version_Script_Url + QStringLiteral("?nomesw=") + QString::fromLatin1(QUrl::toPercentEncoding(SW_Code_Const));
    return [http, url](const std::atomic<bool>& cancel) {
        QString answer;
        try {
            const THttpResponse reply = http.Get(url, &cancel);
            // An error page or a broken reply is no answer of the script.
            if (!reply.Succeeded())
                return TVersion_Answer::No_Answer;
            answer = QString::fromUtf8(reply.Body);
        } catch (...) {
            return TVersion_Answer::No_Answer;
        }
        return Version_Answer_Is_Newer(answer) ? TVersion_Answer::Newer : TVersion_Answer::No_Newer;
    };
}

bool TFSoftOptions::Check_Version()
{
    const std::atomic<bool> never { false };
    return Version_Fetch(FMorvantinoFirmWare ? FMorvantinoFirmWare->HTTP1 : THttpClient())(never)
        == TVersion_Answer::Newer;
}

// ---------------------------------------------------------------------------
// Version check beside the event loop

TVersion_Check::~TVersion_Check()
{
    Cancel();
}

void TVersion_Check::Cancel()
{
    if (FShared)
        FShared->Cancelled = true;
    // The request looks at the flag every few milliseconds.
    if (FWorker.joinable())
        FWorker.join();
    FShared.reset();
    FRunning = false;
}

bool TVersion_Check::Start(TVersion_Fetch fetch, std::function<void(TVersion_Answer answer)> done)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (FRunning || !fetch || !app)
        return false;
    // The last worker has handed its answer over and is ending.
    if (FWorker.joinable())
        FWorker.join();
    auto shared = std::make_shared<TShared>();
    FShared = shared;
    FRunning = true;
    FWorker = std::thread([this, shared, fetch = std::move(fetch), done = std::move(done), app]() {
        TVersion_Answer answer = TVersion_Answer::No_Answer;
        try {
            answer = fetch(shared->Cancelled);
        } catch (...) {
            answer = TVersion_Answer::No_Answer;
        }
        // Cancelling happens on the main thread, as the hand-over does: an
        // answer that is still wanted finds this object alive.
        QMetaObject::invokeMethod(
            app,
            [this, shared, done, answer]() {
                if (shared->Cancelled)
                    return;
                FRunning = false;
                if (done)
                    done(answer);
            },
            Qt::QueuedConnection);
    });
    return true;
}

bool TFSoftOptions::Version_Answer_Is_Newer(const QString& answer)
{
    const QString text = Trim(answer.toUpper());
    if (text.isEmpty() || text == QLatin1String("VER. 0.000"))
        return false;
    const int own = Conv_Version(SW_Version);
    const int theirs = Conv_Version(text);
    return own != -1 && theirs != -1 && theirs > own;
}

int TFSoftOptions::Conv_Version(const QString& version)
{
    const int blank = version.indexOf(QLatin1Char(' '));
    const QString v = Trim(blank < 0 ? version : version.mid(blank + 1));
    if (v.size() < 5)
        return -1;
    // The second character (the point) is skipped unexamined. The four
    // others must be decimal digits: no sign, no hexadecimal, no other
    // script's digits.
    int value = 0;
    for (int i : { 0, 2, 3, 4 }) {
        const QChar c = v.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}
