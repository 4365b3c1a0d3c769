#pragma once
// The options dialog: the language picked from the language files present
// (six flags a page), the two internet options with an immediate version
// check, and the two table options. The same unit holds the version check
// that the main window's timer runs.

#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"

class TPageControl;
class TTabSheet;
class TCheckBox;
class TLinkLabel;
class TImage;
class TLbButton;
class THttpClient;

// The maker's version script, asked with ?nomesw=<product code>. A variable
// only so that a test can point it at its own server.
inline const QString Version_Script_Default = QStringLiteral("http://www.example.com/cgi-bin/version_check.php");
extern QString Version_Script_Url;

// The whole version check, the look-up of the script's host included, ends
// within this many milliseconds; no answer by then counts as no answer.
inline constexpr int Version_Check_Timeout = 4000;
// A version answer is one short line; anything far larger is not one.
inline constexpr qint64 Version_Check_Max_Reply = 64 * 1024;

// What a version check found out. No_Answer (no connection, a time-out, an
// error status) is not No_Newer: nothing is known about a newer version then.
enum class TVersion_Answer { No_Newer, Newer, No_Answer };

// The text that tells the user a check got no answer.
inline const QString Version_Server_Unreachable = QStringLiteral("The update server could not be reached.");

// One version request, ready to run on any thread. It stops early once
// `cancel` turns true.
using TVersion_Fetch = std::function<TVersion_Answer(const std::atomic<bool>& cancel)>;

// Runs one version check at a time on a worker thread, so the windows keep
// painting and answering meanwhile, and hands its answer to the main thread.
// Freeing it (or Cancel) stops the request at once and drops the answer.
class TVersion_Check {
public:
    TVersion_Check() = default;
    ~TVersion_Check();
    TVersion_Check(const TVersion_Check&) = delete;
    TVersion_Check& operator=(const TVersion_Check&) = delete;

    // Starts `fetch`; `done` runs later on the main thread with its answer.
    // False, and nothing started, while a check is still running.
    bool Start(TVersion_Fetch fetch, std::function<void(TVersion_Answer answer)> done);
    // From Start until its answer has been handed over or dropped.
    bool Running() const { return FRunning; }
    void Cancel();

private:
    struct TShared {
        std::atomic<bool> Cancelled { false };
    };
    std::shared_ptr<TShared> FShared;
    std::thread FWorker;
    bool FRunning = false;
};

// Languages shown on one page of the language tab.
inline constexpr int Lang_Slots = 6;

class TFSoftOptions : public TForm {
public:
    explicit TFSoftOptions(TComponent* AOwner);
    ~TFSoftOptions() override;
    QString ClassName() const override { return QStringLiteral("TFSoftOptions"); }

    void Set_Lang();

    // True when the maker's version script reports a newer version than this
    // tool's own; any failure to get an answer counts as no information.
    // Blocks the calling thread until the answer or the time-out.
    bool Check_Version();
    // The same check, prepared on the main thread from `base` (the main
    // window's client: its headers and look-up) to run on a worker.
    static TVersion_Fetch Version_Fetch(const THttpClient& base);
    // The script's answer read as a version check: upper-cased and trimmed,
    // empty or "VER. 0.000" is no information; otherwise newer when its
    // version is above this tool's.
    static bool Version_Answer_Is_Newer(const QString& answer);
    // "1.102" (or "VER. 1.102") as 1102: the digits at the first, third,
    // fourth and fifth place of the text after the first blank; -1 when
    // there are not four digits there.
    static int Conv_Version(const QString& version);

    // Event handlers.
    void FormShow(TObject* Sender);
    void Btn_OKClick(TObject* Sender);
    void Btn_NextClick(TObject* Sender);
    void LangClick(TObject* Sender);
    void CB_En_ConClick(TObject* Sender);
    void Btn_Check_UpdateClick(TObject* Sender);
    void LL_Check_UpdateLinkClick(TObject* Sender, const QString& Link);

    // Lists the language files, sorted without regard to letter case, and
    // draws page 1.
    void Create_Lang_List();
    void Update_Lang_Page(int Page);
    void Update_CheckBox();
    // Number of language pages for the current list.
    int Page_Count() const;

    // Language page shown, from 1.
    int Show_Page = 1;
    // Language file names found, with their ".lng" extension.
    QStringList SL_Languages;
    // The language chosen in the dialog; becomes Language_Name on OK.
    QString Language_In_Use;

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
    TPanel* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;

    TPageControl* PC_Options = nullptr;
    TTabSheet* TS_Language = nullptr;
    TTabSheet* TS_Con_Options = nullptr;
    TTabSheet* TS_Soft_Settings = nullptr;

    TLabel* L_Sel_Lang = nullptr;
    TLabel* L_Page_Lang = nullptr;
    // Slots 1 to 3 in the left column, 4 to 6 in the right, top to bottom.
    std::array<TImage*, Lang_Slots> I_L {};
    std::array<TLabel*, Lang_Slots> L_L {};
    TLbButton* Btn_Prev = nullptr;
    TLbButton* Btn_Next = nullptr;

    TCheckBox* CB_En_Con = nullptr;
    TCheckBox* CB_Update = nullptr;
    TLbButton* Btn_Check_Update = nullptr;
    TLinkLabel* LL_Check_Update = nullptr;

    TCheckBox* CB_Soft_Set_Jump_Table = nullptr;
    TCheckBox* CB_DoubleClick_Auto_Size = nullptr;

private:
    void Create_Controls();
    TLbButton* Make_Button(TWinControl* parent, const char* name, int left, int top, int width);
    TCheckBox* Make_CheckBox(TWinControl* parent, const char* name, int left, int top, int width);
    int Slot_Of(TObject* Sender) const;
    void Show_Check_Result(TVersion_Answer answer);

    // The list has been built by an opening, so a language switch may redraw
    // the page shown.
    bool FListBuilt = false;
    // The immediate check, run beside the dialog's event loop.
    TVersion_Check FCheck;
};

extern TFSoftOptions* FSoftOptions;
