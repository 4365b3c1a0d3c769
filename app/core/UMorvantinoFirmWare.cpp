// The main window's construction: controls, layout of the four steps, the
// start-up sequence and the texts.
#include "app/core/UMorvantinoFirmWare.h"

#include "app/core/LbButton.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/USettings.h"
#include "app/core/USoftOptions.h"
#include "app/core/UTitle_Panel.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Messages.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/SysUtils.h"

TFMorvantinoFirmWare* FMorvantinoFirmWare = nullptr;
TStringList* RowClipboard = nullptr;
TStringList* MIB_Read_Objects = nullptr;
TStringList* MIB_Write_Objects = nullptr;
std::function<QString()> Program_Folder_Source;

namespace {

constexpr int Button_Width = 170;
constexpr int Button_Height = 36;
constexpr int Picture_Button_Size = 50;
constexpr int Glyph_Size = 32;

// The three picture buttons' glyphs, drawn on the transparent key colour.
enum class TGlyph { Info, Options, Close };

void Draw_Glyph(TBitmap& bmp, TGlyph kind)
{
    bmp.SetSize(Glyph_Size, Glyph_Size);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->Pen()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, Glyph_Size, Glyph_Size));
    switch (kind) {
    case TGlyph::Info:
        c->Pen()->SetColor(RGB(0, 70, 150));
        c->Brush()->SetColor(RGB(30, 110, 200));
        c->Ellipse(2, 2, 30, 30);
        c->Pen()->SetColor(clWhite);
        c->Brush()->SetColor(clWhite);
        c->Ellipse(14, 7, 19, 12);
        c->Rectangle(14, 14, 19, 25);
        c->Rectangle(12, 14, 15, 16);
        c->Rectangle(12, 23, 21, 25);
        break;
    case TGlyph::Options: {
        // A cog: eight teeth around a ring.
        c->Pen()->SetColor(RGB(70, 70, 70));
        c->Brush()->SetColor(RGB(120, 120, 120));
        const TPoint teeth[] = { { 13, 1 }, { 19, 1 }, { 19, 31 }, { 13, 31 } };
        c->Polygon(teeth);
        const TPoint teeth2[] = { { 1, 13 }, { 31, 13 }, { 31, 19 }, { 1, 19 } };
        c->Polygon(teeth2);
        const TPoint teeth3[] = { { 4, 8 }, { 8, 4 }, { 28, 24 }, { 24, 28 } };
        c->Polygon(teeth3);
        const TPoint teeth4[] = { { 24, 4 }, { 28, 8 }, { 8, 28 }, { 4, 24 } };
        c->Polygon(teeth4);
        c->Ellipse(5, 5, 27, 27);
        c->Brush()->SetColor(Tool_Form_Color);
        c->Ellipse(11, 11, 21, 21);
        break;
    }
    case TGlyph::Close:
        c->Pen()->SetColor(RGB(150, 20, 20));
        c->Brush()->SetColor(RGB(210, 40, 40));
        c->Ellipse(2, 2, 30, 30);
        c->Pen()->SetColor(clWhite);
        c->Pen()->SetWidth(4);
        c->MoveTo(10, 10);
        c->LineTo(22, 22);
        c->MoveTo(22, 10);
        c->LineTo(10, 22);
        c->Pen()->SetWidth(1);
        break;
    }
}

} // namespace

TFMorvantinoFirmWare::TFMorvantinoFirmWare(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FMorvantinoFirmWare"));
    Setup_Tool_Form(this, 694, 396);
    Create_Controls();
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

TFMorvantinoFirmWare::~TFMorvantinoFirmWare()
{
    if (FMorvantinoFirmWare == this)
        FMorvantinoFirmWare = nullptr;
    if (RowClipboard == FRowClipboard.get())
        RowClipboard = nullptr;
    if (MIB_Read_Objects == FMIB_Read_Objects.get())
        MIB_Read_Objects = nullptr;
    if (MIB_Write_Objects == FMIB_Write_Objects.get())
        MIB_Write_Objects = nullptr;
}

TLabel* TFMorvantinoFirmWare::Make_Label(const char* name, int left, int top, bool boldGrey)
{
    auto* l = new TLabel(this);
    l->SetName(QString::fromLatin1(name));
    l->SetParent(this);
    l->SetLeft(left);
    l->SetTop(top);
    if (boldGrey) {
        l->Font()->SetStyle(TFontStyles(TFontStyle::fsBold));
        l->Font()->SetColor(clGray);
    }
    return l;
}

TLbButton* TFMorvantinoFirmWare::Make_Button(const char* name, int left, int top, bool picture)
{
    auto* b = new TLbButton(this);
    b->SetName(QString::fromLatin1(name));
    b->SetParent(this);
    Setup_Tool_Button(b);
    b->SetShowHint(true);
    if (picture) {
        b->SetBounds(left, top, Picture_Button_Size, Picture_Button_Size);
    } else {
        b->SetBounds(left, top, Button_Width, Button_Height);
        b->SetAlignment(taLeftJustify);
        b->SetStyle(bsEncarta);
    }
    b->OnClick = [this](TObject* Sender) { Btn_Click(Sender); };
    return b;
}

void TFMorvantinoFirmWare::Create_Controls()
{
    L_SW_Code = Make_Label("L_SW_Code", 16, 8, false);
    L_SW_Code->Font()->SetSize(24);
    L_SW_Code->Font()->SetColor(clGray);
    L_SW_Desc = Make_Label("L_SW_Desc", 16, 42, false);
    L_SW_Desc->Font()->SetStyle(TFontStyles(TFontStyle::fsBold));

    L_Begin = Make_Label("L_Begin", 16, 84, true);
    TLabel** steps[] = { &L_Step_1, &L_Step_2, &L_Step_3, &L_Step_4, &L_Step_5, &L_Step_6, &L_Step_7, &L_Step_8 };
    for (int i = 0; i < 8; ++i) {
        const QByteArray name = QByteArray("L_Step_") + QByteArray::number(i + 1);
        *steps[i] = Make_Label(name.constData(), 16, 128 + 44 * i, true);
    }

    // Frame around the active configuration's two lines.
    Shape2 = new TShape(this);
    Shape2->SetName(QStringLiteral("Shape2"));
    Shape2->SetParent(this);
    Shape2->SetBounds(80, 70, 348, 36);
    Shape2->Pen()->SetColor(clGray);
    Shape2->Brush()->SetStyle(TBrushStyle::bsClear);
    L_Name_Conf = Make_Label("L_Name_Conf", 87, 75, false);
    L_Name_Conf_L2 = Make_Label("L_Name_Conf_L2", 87, 88, false);

    LL_Update = new TLinkLabel(this);
    LL_Update->SetName(QStringLiteral("LL_Update"));
    LL_Update->SetParent(this);
    LL_Update->SetLeft(208);
    LL_Update->SetTop(19);
    LL_Update->SetVisible(false);
    LL_Update->OnLinkClick
        = [this](TObject* Sender, const QString& Link, TSysLinkType) { LL_UpdateLinkClick(Sender, Link); };

    L_Quolmi = Make_Label("L_Quolmi", 565, 260, false);
    L_Quolmi->SetCaption(Maker_Domain);
    L_Quolmi->SetCursor(crHandPoint);
    L_Quolmi->OnClick = [this](TObject* Sender) { L_QuolmiClick(Sender); };

    Shape1 = new TShape(this);
    Shape1->SetName(QStringLiteral("Shape1"));
    Shape1->SetParent(this);
    Shape1->Pen()->SetColor(clGray);

    Btn_Info = Make_Button("Btn_Info", 516, 8, true);
    Btn_Opz = Make_Button("Btn_Opz", 574, 8, true);
    Btn_Close = Make_Button("Btn_Close", 632, 8, true);
    const std::pair<TLbButton*, TGlyph> glyphs[] = {
        { Btn_Info, TGlyph::Info },
        { Btn_Opz, TGlyph::Options },
        { Btn_Close, TGlyph::Close },
    };
    for (const auto& [button, kind] : glyphs) {
        TBitmap bmp;
        Draw_Glyph(bmp, kind);
        button->SetGlyph(&bmp);
    }

    Btn_New = Make_Button("Btn_New", 80, 112, false);
    Btn_Open = Make_Button("Btn_Open", 258, 112, false);
    Btn_Prm_Gen = Make_Button("Btn_Prm_Gen", 80, 156, false);
    Btn_Prm_Gen->SetStyle(bsNormal);
    Btn_HART_Variables = Make_Button("Btn_HART_Variables", 80, 200, false);
    Btn_CreateBin = Make_Button("Btn_CreateBin", 80, 244, false);

    // The protocol buttons of other models: hidden in this build, still
    // dispatched by the click handler.
    Btn_HART_Gateway = Make_Button("Btn_HART_Gateway", 258, 200, false);
    Btn_PROFINET_XML = Make_Button("Btn_PROFINET_XML", 436, 156, false);
    Btn_PROFINET_Map = Make_Button("Btn_PROFINET_Map", 258, 156, false);
    Btn_CAN_Rec_Frame = Make_Button("Btn_CAN_Rec_Frame", 258, 156, false);
    Btn_CAN_Send_Frame = Make_Button("Btn_CAN_Send_Frame", 436, 156, false);
    Btn_BACnet_SetAccess = Make_Button("Btn_BACnet_SetAccess", 258, 156, false);
    Btn_BACnet_SetAccess->SetCaption(QStringLiteral("Set BACnet Access"));
    Btn_BACnet_EDE_File = Make_Button("Btn_BACnet_EDE_File", 436, 156, false);
    Btn_BACnet_EDE_File->SetCaption(QStringLiteral("BACnet EDE File"));
    Btn_SDO_Server_CANopen = Make_Button("Btn_SDO_Server_CANopen", 258, 156, false);
    Btn_SDO_Client_CANopen = Make_Button("Btn_SDO_Client_CANopen", 436, 156, false);
    Btn_PDO_CANopen = Make_Button("Btn_PDO_CANopen", 258, 200, false);
    Btn_CANopen_EDS = Make_Button("Btn_CANopen_EDS", 436, 200, false);
    Btn_MQTT_Set_Topic = Make_Button("Btn_MQTT_Set_Topic", 258, 156, false);
    Btn_PROFIBUS_GSD = Make_Button("Btn_PROFIBUS_GSD", 258, 156, false);
    Btn_SNMP_Trap = Make_Button("Btn_SNMP_Trap", 258, 156, false);
    Btn_SNMP_Trap->SetCaption(QStringLiteral("Set SNMP Access"));
    Btn_SNMP_MIB = Make_Button("Btn_SNMP_MIB", 436, 156, false);
    Btn_SNMP_MIB->SetCaption(QStringLiteral("SNMP MIB"));
    Btn_OPC_UA_Server_Access = Make_Button("Btn_OPC_UA_Server_Access", 258, 156, false);

    Timer_Update = new TTimer(this);
    Timer_Update->SetName(QStringLiteral("Timer_Update"));
    Timer_Update->SetEnabled(false);
    Timer_Update->SetInterval(Update_First_Interval);
    Timer_Update->OnTimer = [this](TObject* Sender) { Timer_UpdateTimer(Sender); };

    HTTP1.SetRequestHeader(
        QStringLiteral("Accept"), QStringLiteral("text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"));
    HTTP1.SetRequestHeader(QStringLiteral("User-Agent"), QStringLiteral("Mozilla/3.0 (compatible; Indy Library)"));

    SD1 = new TSaveDialog(this);
    SD1->SetName(QStringLiteral("SD1"));
    SD1->Filter = QStringLiteral("CSV (MS-DOS) (*.csv)|*.csv");
    SaveEDS = new TSaveDialog(this);
    SaveEDS->SetName(QStringLiteral("SaveEDS"));
    SaveEDS->Filter = QStringLiteral("Electronic Data Sheet (*.eds)|*.eds");
    SaveEDS->DefaultExt = QStringLiteral("*.eds");
    SaveMIB = new TSaveDialog(this);
    SaveMIB->SetName(QStringLiteral("SaveMIB"));
    SaveMIB->Filter = QStringLiteral("Management Information Base (*.mib)|*.mib");
    SaveMIB->DefaultExt = QStringLiteral("*.mib");
}

QList<TLbButton*> TFMorvantinoFirmWare::Buttons() const
{
    return { Btn_New, Btn_Open, Btn_Close, Btn_Info, Btn_Opz, Btn_Prm_Gen, Btn_HART_Gateway, Btn_HART_Variables,
        Btn_CAN_Rec_Frame, Btn_CAN_Send_Frame, Btn_BACnet_SetAccess, Btn_BACnet_EDE_File, Btn_PDO_CANopen,
        Btn_SDO_Client_CANopen, Btn_SDO_Server_CANopen, Btn_CANopen_EDS, Btn_MQTT_Set_Topic, Btn_SNMP_Trap,
        Btn_SNMP_MIB, Btn_OPC_UA_Server_Access, Btn_PROFIBUS_GSD, Btn_PROFINET_XML, Btn_CreateBin, Btn_PROFINET_Map };
}

void TFMorvantinoFirmWare::Layout_Steps()
{
    // Only the first four steps exist in this build.
    for (TLabel* l : { L_Step_5, L_Step_6, L_Step_7, L_Step_8 })
        l->SetVisible(false);
    for (TLbButton* b : { Btn_HART_Gateway, Btn_PROFINET_XML, Btn_PROFINET_Map, Btn_CAN_Rec_Frame, Btn_CAN_Send_Frame,
             Btn_BACnet_SetAccess, Btn_BACnet_EDE_File, Btn_SDO_Server_CANopen, Btn_SDO_Client_CANopen, Btn_PDO_CANopen,
             Btn_CANopen_EDS, Btn_MQTT_Set_Topic, Btn_PROFIBUS_GSD, Btn_SNMP_Trap, Btn_SNMP_MIB,
             Btn_OPC_UA_Server_Access })
        b->SetVisible(false);
    L_Quolmi->SetTop(L_Step_4->Top());
    Shape1->SetBounds(10, Btn_CreateBin->Top() + 51, 674, 1);
    SetClientWidth(694);
    SetClientHeight(Btn_CreateBin->Top() + 152);
}

void TFMorvantinoFirmWare::FormCreate(TObject*)
{
    FMorvantinoFirmWare = this;
    Init_Lang_Default();
    Layout_Steps();

    Program_Folder = ExcludeTrailingPathDelimiter(
        Program_Folder_Source ? Program_Folder_Source() : ExtractFileDir(Application->ExeName()));
    Master_Folder = Join_Path(Program_Folder, QStringLiteral("MASTER"));
    Projects_Folder = Join_Path(Program_Folder, QStringLiteral("PROJECTS"));
    Language_Folder = Join_Path(Program_Folder, QStringLiteral("LANGUAGE"));
    for (const QString& folder : { Master_Folder, Projects_Folder, Language_Folder }) {
        if (!DirectoryExists(folder))
            CreateDir(folder);
    }
    Write_English_Lang_File();

    Project_Name.clear();
    Update_Read_Back = true;
    Update_Option = 0;
    const TXmlFileRead settings = Read_Settings(XML1);
    Timer_Update->SetEnabled(false);
    Arm_Update_Timer();

    SW_Code = SW_Code_Const;
    SW_Desc = SW_Desc_Const;
    Main_Caption = Maker_Domain + QStringLiteral(" - Configurator ") + SW_Code + QStringLiteral(" - ")
        + QStringLiteral("Modbus Slave / HART Master ");
    SetCaption(Main_Caption);
    L_SW_Code->SetCaption(SW_Code);
    L_SW_Desc->SetCaption(SW_Desc);

    Load_Language();
    if (settings.State == TXmlFileState::Damaged)
        Show_File_Read_Error(Settings_File_Name(), settings.Reason + QStringLiteral("; the default settings are used"));

    // The remembered project is restored only when its folder is still there;
    // otherwise the name is kept for the settings file, with no project active.
    Project_Folder.clear();
    if (Is_Safe_Project_Name(Project_Name)) {
        const QString folder = Join_Path(Projects_Folder, Project_Name);
        if (DirectoryExists(folder))
            Project_Folder = folder;
    }

    Set_Lang();
    Set_Files();
    FRowClipboard = std::make_unique<TStringList>();
    FMIB_Read_Objects = std::make_unique<TStringList>();
    FMIB_Write_Objects = std::make_unique<TStringList>();
    RowClipboard = FRowClipboard.get();
    MIB_Read_Objects = FMIB_Read_Objects.get();
    MIB_Write_Objects = FMIB_Write_Objects.get();
}

void TFMorvantinoFirmWare::Show_Project_Labels()
{
    if (!Project_Folder.isEmpty()) {
        L_Name_Conf->SetCaption(Lang(11));
        L_Name_Conf_L2->SetCaption(Project_Name);
    } else {
        L_Name_Conf->SetCaption(Lang(9));
        L_Name_Conf_L2->SetCaption(Lang(10));
    }
}

void TFMorvantinoFirmWare::Set_Lang()
{
    const std::pair<TLabel*, int> labels[] = { { L_Begin, 0 }, { L_Step_1, 1 }, { L_Step_2, 2 }, { L_Step_3, 3 },
        { L_Step_4, 4 }, { L_Step_5, 5 }, { L_Step_6, 6 }, { L_Step_7, 7 }, { L_Step_8, 8 } };
    for (const auto& [label, text] : labels)
        label->SetCaption(Lang(text));
    Btn_Info->SetHint(Lang(12));
    Btn_Opz->SetHint(Lang(13));
    Btn_Close->SetHint(Lang(14));
    struct ButtonText {
        TLbButton* button;
        int caption;
        int hint;
    };
    const ButtonText buttons[] = {
        { Btn_New, 15, 22 },
        { Btn_Open, 16, 23 },
        { Btn_CreateBin, 17, 26 },
        { Btn_Prm_Gen, 20, 24 },
        { Btn_HART_Variables, 27, 28 },
        { Btn_HART_Gateway, 29, 30 },
        { Btn_PROFINET_Map, 31, 32 },
        { Btn_PROFINET_XML, 33, 34 },
        { Btn_CAN_Rec_Frame, 35, 36 },
        { Btn_CAN_Send_Frame, 37, 38 },
        { Btn_SDO_Server_CANopen, 43, 44 },
        { Btn_SDO_Client_CANopen, 45, 46 },
        { Btn_PDO_CANopen, 47, 48 },
        { Btn_CANopen_EDS, 49, 50 },
        { Btn_MQTT_Set_Topic, 51, 52 },
        { Btn_PROFIBUS_GSD, 53, 54 },
        { Btn_OPC_UA_Server_Access, 55, 56 },
    };
    for (const ButtonText& b : buttons) {
        b.button->SetCaption(Lang(b.caption));
        b.button->SetHint(Lang(b.hint));
    }
    Show_Project_Labels();
}

void TFMorvantinoFirmWare::Set_Files()
{
    Set_Project_Files();
}

QString EDE_File_Name(const QString& chosen)
{
    if (chosen.right(4).toUpper() != QLatin1String(".CSV"))
        return chosen + QStringLiteral(".csv");
    return chosen;
}

bool Is_Safe_Project_Name(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar ch : name) {
        if (ch.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(ch))
            return false;
    }
    return true;
}
