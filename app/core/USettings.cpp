#include "app/core/USettings.h"

#include "app/core/UComon.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Forms.h"
#include "platform/runtime/XmlDom.h"

#include <optional>

namespace {

const QString Root_Name = QStringLiteral("Conf_Settings");

QString Flag_Text(bool v)
{
    return v ? QStringLiteral("1") : QStringLiteral("0");
}

// True only for the text "1" exactly: no trimming, no other spellings.
bool Flag_Value(const TXmlNode& node)
{
    return !node.IsNull() && node.Text() == QLatin1String("1");
}

// The text of group/value under the root, or the fallback when either element
// is missing. An element that exists but is empty gives an empty text.
QString Item_Text(const TXmlNode& root, const char* group, const char* value, const QString& fallback)
{
    const TXmlNode node = root.FindChild(QString::fromLatin1(group)).FindChild(QString::fromLatin1(value));
    return node.IsNull() ? fallback : node.Text();
}

void Add_Item(TXmlNode parent, const char* name, const QString& text)
{
    TXmlNode node = parent.AddChild(QString::fromLatin1(name));
    node.SetText(text);
}

// The values the settings file gives, to tell whether they changed.
struct TSettingsValues {
    QString Project;
    QString IP;
    QString Language;
    bool Internet = false;
    bool Update = false;
    bool Jump = false;
    bool DblClick = false;
    bool operator==(const TSettingsValues&) const = default;
};

TSettingsValues Current_Values()
{
    return { Project_Name, Last_IP_Address, Language_Name, Opt_Enable_Internet, Opt_Enable_Update,
        Opt_Jump_Field_Tables, Opt_Dbl_Click_Auto_Size };
}

// A settings file that could not be read at start, with the values the tool
// fell back on: it stays untouched while they are the values in use.
struct TUnreadSettings {
    QString Path;
    TSettingsValues Values;
};
std::optional<TUnreadSettings> Unread_Settings;

// False when the damaged settings file must stay as it is.
bool May_Replace_Settings_File(const QString& path)
{
    if (!Unread_Settings || Unread_Settings->Path != path)
        return true;
    const TSettingsValues now = Current_Values();
    if (now == Unread_Settings->Values)
        return false;
    const QString question = QStringLiteral("The settings file %1 could not be read when the program started.\n"
                                            "Replace it with the current settings?")
                                 .arg(path);
    if (MessageDlg(question, mtConfirmation, mbYesNo, 0) != mrYes) {
        // Asked once for these values; a later change asks again.
        Unread_Settings->Values = now;
        return false;
    }
    return true;
}

} // namespace

QString Settings_File_Name()
{
    return Join_Path(Program_Folder, QStringLiteral("Morvantile.xml"));
}

void Default_Settings()
{
    Project_Name.clear();
    Project_Folder.clear();
    Last_IP_Address = Default_IP_Address;
    Language_Name = QStringLiteral("English");
    Opt_Enable_Internet = false;
    Opt_Enable_Update = false;
    Opt_Jump_Field_Tables = false;
    Opt_Dbl_Click_Auto_Size = false;
}

TXmlFileRead Read_Settings(TXmlDocument& xml)
{
    Default_Settings();
    const QString file = Settings_File_Name();
    Unread_Settings.reset();
    const TXmlFileRead read = Read_Xml_File(xml, file, Settings_File_Max_Size);
    if (read.State == TXmlFileState::Damaged)
        Unread_Settings = TUnreadSettings { file, Current_Values() };
    if (read.State != TXmlFileState::Loaded)
        return read;

    // A declaration or a comment may stand before the settings element.
    TXmlNode root = xml.DocumentElement();
    if (root.NodeName() != Root_Name)
        root = TXmlNode();

    Project_Name = Item_Text(root, "lastproj", "projectname", QString());
    Last_IP_Address = Item_Text(root, "lastipadd", "ipaddress", Default_IP_Address);
    Language_Name = Item_Text(root, "lastlang", "language", QStringLiteral("English"));

    const TXmlNode internet = root.FindChild(QStringLiteral("lastinternet"));
    Opt_Enable_Internet = Flag_Value(internet.FindChild(QStringLiteral("enable_internet")));
    Opt_Enable_Update = Flag_Value(internet.FindChild(QStringLiteral("enable_update")));
    Opt_Jump_Field_Tables = Flag_Value(internet.FindChild(QStringLiteral("enable_jump_field_tables")));
    Opt_Dbl_Click_Auto_Size = Flag_Value(internet.FindChild(QStringLiteral("Double_Click_Auto_Size")));
    return read;
}

TSaveResult Write_Settings(TXmlDocument& xml)
{
    const QString file = Settings_File_Name();
    if (!May_Replace_Settings_File(file))
        return { true, QString() };
    xml.Clear();
    TXmlNode root = xml.AddChild(Root_Name);
    Add_Item(root.AddChild(QStringLiteral("lastproj")), "projectname", Project_Name);
    Add_Item(root.AddChild(QStringLiteral("lastipadd")), "ipaddress", Last_IP_Address);
    Add_Item(root.AddChild(QStringLiteral("lastlang")), "language", Language_Name);
    TXmlNode internet = root.AddChild(QStringLiteral("lastinternet"));
    Add_Item(internet, "enable_internet", Flag_Text(Opt_Enable_Internet));
    Add_Item(internet, "enable_update", Flag_Text(Opt_Enable_Update));
    Add_Item(internet, "enable_jump_field_tables", Flag_Text(Opt_Jump_Field_Tables));
    Add_Item(internet, "Double_Click_Auto_Size", Flag_Text(Opt_Dbl_Click_Auto_Size));
    const TSaveResult r = SaveFileAtomic(file, xml.SaveToBytes());
    if (r.Ok)
        Unread_Settings.reset();
    return r;
}
