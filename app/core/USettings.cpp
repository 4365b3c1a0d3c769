#include "app/core/USettings.h"

#include "app/core/UComon.h"
#include "platform/runtime/XmlDom.h"

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

void Read_Settings(TXmlDocument& xml)
{
    Default_Settings();
    const QString file = Settings_File_Name();
    if (!FileExists(file))
        return;
    // A file that does not parse is treated as no file at all.
    if (!xml.LoadFromFile(file))
        return;

    // The first node is the root: a declaration or a comment in front of the
    // settings element leaves every item at its default.
    TXmlNode root = xml.FirstNode();
    if (!root.IsElement() || root.NodeName() != Root_Name)
        root = TXmlNode();

    Project_Name = Item_Text(root, "lastproj", "projectname", QString());
    Last_IP_Address = Item_Text(root, "lastipadd", "ipaddress", Default_IP_Address);
    Language_Name = Item_Text(root, "lastlang", "language", QStringLiteral("English"));

    const TXmlNode internet = root.FindChild(QStringLiteral("lastinternet"));
    Opt_Enable_Internet = Flag_Value(internet.FindChild(QStringLiteral("enable_internet")));
    Opt_Enable_Update = Flag_Value(internet.FindChild(QStringLiteral("enable_update")));
    Opt_Jump_Field_Tables = Flag_Value(internet.FindChild(QStringLiteral("enable_jump_field_tables")));
    Opt_Dbl_Click_Auto_Size = Flag_Value(internet.FindChild(QStringLiteral("Double_Click_Auto_Size")));
}

TSaveResult Write_Settings(TXmlDocument& xml)
{
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
    return SaveFileAtomic(Settings_File_Name(), xml.SaveToBytes());
}
