// The string grid's settings outside its cells: the column-state text, column
// sizes and positions in an INI file or the registry, the visual-properties
// file and the print-settings section.

#include <gtest/gtest.h>

#include "common/GridOnForm.h"
#include "common/TestUtil.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A grid of four columns whose row 0 names each column by its natural index.
void Name4(TExStringGrid& g)
{
    g.SetColCount(4);
    for (int c = 0; c < 4; ++c)
        g.SetCells(c, 0, QString(QChar('A' + c)));
}

// Row 0 in real order, hidden columns in brackets.
QString RealRow0(const TExStringGrid& g)
{
    QString s;
    for (int c = 0; c < g.TotalColCount(); ++c)
        s += g.IsHiddenColumn(c) ? "[" + g.Cells(c, 0) + "]" : g.Cells(c, 0);
    return s;
}

QString Order(const TExStringGrid& g)
{
    return g.ColumnOrder()->StrValue();
}

// ---------------------------------------------------------------------------
// Column-state text

TEST(ExGridSettingsFiles, ColumnStatesOfThreeDefaultColumns)
{
    TExStringGrid g(nullptr);
    g.SetColCount(3);
    ASSERT_EQ(g.DefaultColWidth(), 64);
    EXPECT_EQ(g.ColumnStatesToString(), "3#64,64,64#0,1,2#1,1,1");
}

TEST(ExGridSettingsFiles, ColumnStatesWithAHiddenColumnAndItsReadBack)
{
    TExStringGrid g(nullptr);
    Name4(g);
    for (int c = 0; c < 4; ++c)
        g.SetColWidths(c, 30 + 10 * c);
    g.SetColumnOrder();
    g.HideColumn(1);
    // The last width is the default one: the hidden column stands beyond the
    // shown ones.
    const QString s = g.ColumnStatesToString();
    EXPECT_EQ(s, "4#30,50,60,64#0,1,2,3#1,0,1,1");

    TExStringGrid h(nullptr);
    Name4(h);
    h.StringToColumnStates(s);
    EXPECT_EQ(h.ColCount(), 3);
    EXPECT_EQ(RealRow0(h), "A[B]CD");
    EXPECT_EQ(h.ColWidths(0), 30);
    EXPECT_EQ(h.ColWidths(1), 50);
    EXPECT_EQ(h.ColWidths(2), 60);
    EXPECT_EQ(h.ColumnStatesToString(), s);
}

TEST(ExGridSettingsFiles, ColumnStatesRestoreAMovedOrder)
{
    TExStringGrid g(nullptr);
    Name4(g);
    g.SetColumnOrder();
    g.MoveColumn(3, 0);
    g.MoveColumn(3, 1);
    ASSERT_EQ(RealRow0(g), "DCAB");
    g.HideColumn(2);
    const QString s = g.ColumnStatesToString();
    EXPECT_EQ(s, "4#64,64,64,64#3,2,0,1#1,1,0,1");

    // The reading grid's own arrangement counts as the natural one.
    TExStringGrid h(nullptr);
    Name4(h);
    h.StringToColumnStates(s);
    EXPECT_EQ(RealRow0(h), "DC[A]B");
    EXPECT_EQ(Order(h), "3,2,0,1");
    EXPECT_EQ(h.ColumnStatesToString(), s);
}

TEST(ExGridSettingsFiles, MalformedColumnStatesChangeNothing)
{
    const char* bad[] = {
        "3#64,x,64#0,1,2#1,1,1", // a width that is no integer
        "3#64,64,64#0,1,a#1,1,1", // an order entry that is no integer
        "x#64,64,64#0,1,2#1,1,1", // the count
        "3#64,64,64#0,1,2#1,1", // a flag missing
        "3#64,64,64#0,1,2#1,1,1,1", // a flag too many
        "3#64,64,64#0,1,2#1,2,1", // a flag that is no flag
        "3#64,64#0,1,2#1,1,1", // fewer widths than shown columns
        "3#64,64,64#0,1,2", // no flags at all
        "3#64,64,64#0,1,2#1,1,1#", // a fifth part
        "0###", // no column
        "2000000000#64#0#1", // a count the text does not carry
        "4#64,64,64,64#3,3,3,3#1,1,1,1", // one column named four times
        "4#64,64,64,64#0,1,2,4#1,1,1,1", // a column the text does not have
        "4#64,64,64,64#1#1,1,1,1", // a column named without those before it
    };
    TExStringGrid g(nullptr);
    Name4(g);
    g.SetColWidths(2, 40);
    g.SetColumnOrder();
    g.HideColumn(3);
    const QString before = g.ColumnStatesToString();
    for (const char* s : bad) {
        EXPECT_THROW(g.StringToColumnStates(s), EConvertError) << s;
        EXPECT_EQ(g.ColumnStatesToString(), before) << s;
        EXPECT_EQ(RealRow0(g), "ABC[D]") << s;
    }
    // A text without "#" is no column-state text at all.
    EXPECT_NO_THROW(g.StringToColumnStates("3,64"));
    EXPECT_EQ(g.ColumnStatesToString(), before);
}

TEST(ExGridSettingsFiles, ColumnStatesTolerateWhatStoredTextsHold)
{
    // More widths than shown columns, blanks as separators, more order
    // entries than columns and a -1 entry, which is passed over.
    TExStringGrid g(nullptr);
    Name4(g);
    g.StringToColumnStates("4#11 12 13 14 15#1 -1 0 2 3#1,1,1,1");
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(RealRow0(g), "BACD");
    EXPECT_EQ(g.ColWidths(3), 14);
    EXPECT_EQ(Order(g), "1,0,2,3");
    // Every flag 0: one column stays shown and takes the first width.
    TExStringGrid h(nullptr);
    h.SetColCount(2);
    h.StringToColumnStates("2#21#0,1#0,0");
    EXPECT_EQ(h.ColCount(), 1);
    EXPECT_EQ(h.ColWidths(0), 21);
}

// Shown widths by displayed column, joined by ",".
QString Widths(const TExStringGrid& g)
{
    QStringList w;
    for (int d = 0; d < g.ColCount(); ++d)
        w << QString::number(g.ColWidths(d));
    return w.join(',');
}

TEST(ExGridSettingsFiles, ColumnStatesApplyToTheColumnsTheyName)
{
    // A layout stored while the grid had fewer (or more) columns: the
    // columns it does not name keep their cells, place, width and state.
    struct {
        bool hideD;
        const char* text;
        const char* row0;
        const char* widths;
        const char* written;
    } cases[] = {
        { false, "3#30,40,50#2,0,1#1,1,1", "CABD", "30,40,50,24", "4#30,40,50,24#2,0,1,3#1,1,1,1" },
        { true, "3#30,50,64#0,1,2#1,0,1", "A[B]C[D]", "30,50", "4#30,50,64,64#0,1,2,3#1,0,1,0" },
        { false, "5#1,2,3,4,5#4,3,2,1,0#1,1,1,1,1", "DCBA", "1,2,3,4,5", "5#1,2,3,4,5#4,3,2,1,0#1,1,1,1,1" },
    };
    for (const auto& c : cases) {
        TExStringGrid g(nullptr);
        Name4(g);
        for (int d = 0; d < 4; ++d)
            g.SetColWidths(d, 21 + d);
        if (c.hideD)
            g.HideColumn(3);
        g.StringToColumnStates(c.text);
        EXPECT_EQ(RealRow0(g), c.row0) << c.text;
        EXPECT_EQ(Widths(g), c.widths) << c.text;
        EXPECT_EQ(g.ColumnStatesToString(), c.written) << c.text;
    }
}

TEST(ExGridSettingsFiles, ColumnStatesWidthsOutOfRangeKeepTheColumnsWidth)
{
    struct {
        const char* width;
        int expected;
    } cases[] = { { "2147483647", 30 }, { "32768", 30 }, { "-1", 30 }, { "32767", 32767 }, { "0", 0 } };
    for (const auto& c : cases) {
        TExStringGrid g(nullptr);
        Name4(g);
        for (int d = 0; d < 4; ++d)
            g.SetColWidths(d, 30 + 10 * d);
        g.StringToColumnStates(QStringLiteral("4#%1,41,51,61#0,1,2,3#1,1,1,1").arg(c.width));
        EXPECT_EQ(Widths(g), QStringLiteral("%1,41,51,61").arg(c.expected)) << c.width;
    }
}

TEST(ExGridSettingsFiles, ColumnStatesArrangeTheCellsInOnePass)
{
    // Many columns in reverse order, every other one hidden: the cells are
    // rearranged once, not a column at a time.
    const int n = 2000;
    TExStringGrid g(nullptr);
    g.SetColCount(n);
    QStringList widths, order, flags;
    for (int c = 0; c < n; ++c) {
        g.SetCells(c, 0, QString::number(c));
        order << QString::number(n - 1 - c);
        flags << (c % 2 ? "0" : "1");
    }
    for (int d = 0; d < n / 2; ++d)
        widths << QString::number(10 + d % 50);
    const QString text = QStringLiteral("%1#%2#%3#%4").arg(n).arg(widths.join(','), order.join(','), flags.join(','));
    const quint64 edits = g.Store().TextEdits();
    g.StringToColumnStates(text);
    // A few changes of the store for the whole text, none per column.
    EXPECT_LE(g.Store().TextEdits() - edits, 4u);
    ASSERT_EQ(g.ColCount(), n / 2);
    EXPECT_EQ(g.Cells(0, 0), QString::number(n - 1));
    EXPECT_EQ(g.Cells(n - 1, 0), "0");
    EXPECT_TRUE(g.IsHiddenColumn(n - 1));
    EXPECT_FALSE(g.IsHiddenColumn(n - 2));
    EXPECT_EQ(g.ColWidths(n / 2 - 1), 10 + (n / 2 - 1) % 50);
    EXPECT_EQ(g.ColumnStatesToString(),
        text.section('#', 0, 0) + "#" + widths.join(',') + QString(",64").repeated(n / 2) + "#" + order.join(',') + "#"
            + flags.join(','));
}

TEST(ExGridSettingsFiles, ColumnStatesStretchAgainAfterTheWidths)
{
    TGridOnForm<TExStringGrid> f(3, 3, 300, 100);
    TExStringGrid& g = *f.Grid;
    g.ColumnSize()->SetStretch(true);
    g.StringToColumnStates("3#50,60,70#0,1,2#1,1,1");
    EXPECT_TRUE(g.ColumnSize()->Stretch());
    EXPECT_EQ(g.ColWidths(0), 50);
    EXPECT_EQ(g.ColWidths(1), 60);
    EXPECT_EQ(g.ColWidths(2), g.ClientWidth() - 110 - 1);
}

// ---------------------------------------------------------------------------
// Column sizes and positions

struct TStore {
    QString dir = testutil::TempDir();
    QString file = dir + "/grid.ini";
    void Use(TExStringGrid& g, const QString& path, TColumnSizeLocation loc = TColumnSizeLocation::clIniFile)
    {
        g.ColumnSize()->Key = path;
        g.ColumnSize()->Section = QStringLiteral("Grid");
        g.ColumnSize()->Location = loc;
    }
};

TEST(ExGridSettingsFiles, ColumnPositionsRoundTripKeepingTheHiddenColumnHidden)
{
    TStore store;
    TExStringGrid g(nullptr);
    Name4(g);
    store.Use(g, store.file);
    g.SetColumnOrder();
    g.MoveColumn(3, 0);
    g.SaveColPositions();
    EXPECT_EQ(ReadBytes(store.file), "[Grid]\r\nPos0=3\r\nPos1=0\r\nPos2=1\r\nPos3=2\r\n\r\n");

    // Column B is hidden before the load and stays hidden where it lands.
    TExStringGrid h(nullptr);
    Name4(h);
    store.Use(h, store.file);
    h.HideColumn(1);
    h.LoadColPositions();
    EXPECT_EQ(RealRow0(h), "DA[B]C");
    EXPECT_EQ(Order(h), "3,0,1,2");
}

TEST(ExGridSettingsFiles, ColumnPositionsWithoutPos0ChangeNothing)
{
    TStore store;
    WriteBytes(store.file, "[Grid]\nPos1=3\n");
    TExStringGrid g(nullptr);
    Name4(g);
    store.Use(g, store.file);
    g.SetColumnOrder();
    g.LoadColPositions();
    EXPECT_EQ(RealRow0(g), "ABCD");
    EXPECT_EQ(Order(g), "0,1,2,3");
}

TEST(ExGridSettingsFiles, StoredColumnSizesOutOfRangeKeepTheColumnsWidth)
{
    TStore store;
    struct {
        const char* value;
        int expected;
    } cases[] = { { "2147483647", 30 }, { "32768", 30 }, { "-5", 30 }, { "abc", 30 }, { "32767", 32767 }, { "0", 0 } };
    for (const auto& c : cases) {
        WriteBytes(store.file, QByteArray("[Grid]\nCol0=") + c.value + "\nCol1=41\n");
        TExStringGrid g(nullptr);
        Name4(g);
        g.SetColWidths(0, 30);
        store.Use(g, store.file);
        g.LoadColSizes();
        EXPECT_EQ(Widths(g), QStringLiteral("%1,41,64,64").arg(c.expected)) << c.value;
    }
}

TEST(ExGridSettingsFiles, StoredColumnPositionsMustNameEachColumnOnce)
{
    TStore store;
    struct {
        const char* keys;
        const char* row0;
        const char* order;
    } cases[] = {
        { "Pos0=3\nPos1=3\nPos2=3\nPos3=3\n", "ABCD", "0,1,2,3" }, // one column four times
        { "Pos0=1\nPos1=9\nPos2=0\nPos3=2\n", "ABCD", "0,1,2,3" }, // a column the grid does not have
        { "Pos0=2\nPos1=2147483647\n", "ABCD", "0,1,2,3" },
        { "Pos0=1\nPos1=0\n", "BACD", "1,0,2,3" }, // stored with two columns: the others stay
    };
    for (const auto& c : cases) {
        WriteBytes(store.file, QByteArray("[Grid]\n") + c.keys);
        TExStringGrid g(nullptr);
        Name4(g);
        store.Use(g, store.file);
        g.SetColumnOrder();
        g.LoadColPositions();
        EXPECT_EQ(RealRow0(g), c.row0) << c.keys;
        EXPECT_EQ(Order(g), c.order) << c.keys;
    }
}

TEST(ExGridSettingsFiles, LoadingFromAReadOnlyIniFileNeverWritesIt)
{
    TStore store;
    // LF line ends and no blank line: a rewrite would change the bytes.
    const QByteArray text = "[Grid]\nCol1=77\nPos0=1\nPos1=0\n[Print]\nColumnSpacing=5\n";
    WriteBytes(store.file, text);
    ASSERT_TRUE(QFile::setPermissions(store.file, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const QDateTime stamp = QFileInfo(store.file).lastModified();

    TExStringGrid g(nullptr);
    Name4(g);
    store.Use(g, store.file);
    g.LoadColPositions();
    g.LoadColSizes();
    g.LoadPrintSettings(store.file, "Print");
    EXPECT_EQ(g.ColWidths(1), 77);
    EXPECT_EQ(RealRow0(g), "BACD");
    EXPECT_EQ(g.PrintSettings()->ColumnSpacing, 5);
    EXPECT_EQ(ReadBytes(store.file), text);
    EXPECT_EQ(QFileInfo(store.file).lastModified(), stamp);

    // A store in a folder that does not exist reads as empty and stays
    // missing, folder and all.
    TExStringGrid m(nullptr);
    Name4(m);
    const QString missing = store.dir + "/no/such/grid.ini";
    store.Use(m, missing);
    EXPECT_NO_THROW(m.LoadColSizes());
    EXPECT_NO_THROW(m.LoadColPositions());
    EXPECT_NO_THROW(m.LoadPrintSettings(missing, "Print"));
    EXPECT_EQ(m.PrintSettings()->ColumnSpacing, 20);
    EXPECT_FALSE(QDir(store.dir + "/no").exists());
}

TEST(ExGridSettingsFiles, ColumnSizesAndPositionsInTheRegistry)
{
    TStore store;
    const QString regFile = store.dir + "/registry.ini";
    TRegistry::SetStorageFile(regFile);
    {
        TExStringGrid g(nullptr);
        Name4(g);
        store.Use(g, "Software\\Test\\Grid", TColumnSizeLocation::clRegistry);
        g.SetColWidths(2, 33);
        g.SetColumnOrder();
        g.MoveColumn(0, 3);
        g.SaveColSizes();
        g.SaveColPositions();
    }
    const QByteArray saved = ReadBytes(regFile);
    TExStringGrid h(nullptr);
    Name4(h);
    store.Use(h, "Software\\Test\\Grid", TColumnSizeLocation::clRegistry);
    h.LoadColPositions();
    h.LoadColSizes();
    EXPECT_EQ(h.ColWidths(1), 33);
    EXPECT_EQ(RealRow0(h), "BCDA");
    EXPECT_EQ(ReadBytes(regFile), saved); // reading wrote nothing
    TRegistry::SetStorageFile(QString());
}

// ---------------------------------------------------------------------------
// Visual properties file

// A grid with a value of its own in every setting the file holds.
void Configure(TExStringGrid& g)
{
    g.SetColor(TColor(0x00102030));
    g.SetHintColor(clYellow);
    g.SetSelectionColor(TColor(0x00A0B0C0));
    g.SetSelectionColorTo(clNone);
    g.SetSelectionMirrorColor(clAqua);
    g.SetSelectionMirrorColorTo(clBtnFace);
    g.SetSelectionTextColor(clWhite);
    g.SetURLColor(clPurple);
    g.SetURLShow(false);
    g.SetURLShowInText(true);
    g.SetScrollColor(clSilver);
    g.SetActiveRowColor(TColor(0x00CCEEFF));
    g.SetActiveRowShow(true);
    g.SetActiveCellShow(true);
    g.Font()->SetColor(clNavy);
    g.Font()->SetStyle(TFontStyle::fsBold | TFontStyle::fsUnderline);
    g.Font()->SetSize(11);
    g.Font()->SetName("Verdana");
    g.SetActiveCellColor(clLime);
    g.SetActiveCellColorTo(clGreen);
    g.ActiveCellFont()->SetStyle(TFontStyle::fsItalic | TFontStyle::fsStrikeOut);
    g.FixedFont()->SetSize(9);
    g.Balloon()->BackgroundColor = clInfoBk;
    g.Balloon()->TextColor = clInfoText;
    g.Balloon()->Transparency = 200;
    g.Bands()->SetPrimaryColor(clCream);
    g.Bands()->SetSecondaryColor(clMoneyGreen);
    g.Bands()->SetActive(true);
    g.SortSettings()->IndexColor = clFuchsia;
    g.FloatingFooter()->SetColor(clSkyBlue);
    g.ControlLook()->SetCheckSize(13);
    g.ControlLook()->SetColor(clMaroon);
    g.ControlLook()->SetCommentColor(clOlive);
    g.ControlLook()->SetControlStyle(TGridControlStyle::csFlat);
    g.ControlLook()->SetFixedGradientFrom(TColor(0x00FAFBFC));
    g.ControlLook()->SetFixedGradientTo(TColor(0x00D0D1D2));
    g.ControlLook()->SetRadioSize(12);
    g.ControlLook()->SetFlatButton(true);
    g.ControlLook()->ProgressBorderColor = clTeal;
    g.ControlLook()->SetProgressXP(true);
    g.SearchFooter()->SetColor(TColor(0x00E0E0E0));
    g.SearchFooter()->SetColorTo(TColor(0x00C0C0C0));
    g.Grouping()->HeaderColor = TColor(0x00010203);
    g.Grouping()->HeaderColorTo = TColor(0x00040506);
    g.Grouping()->HeaderTextColor = clRed;
    g.Grouping()->HeaderUnderline = true;
    g.Grouping()->HeaderLineColor = clGray;
    g.Grouping()->HeaderLineWidth = 3;
    g.Grouping()->SummaryColor = TColor(0x00070809);
    g.Grouping()->SummaryColorTo = clNone;
    g.Grouping()->SummaryTextColor = clBlue;
    g.Grouping()->SummaryLine = true;
    g.Grouping()->SummaryLineColor = clBlack;
    g.Grouping()->SummaryLineWidth = 4;
    g.SetGridLineColor(TColor(0x00ABCDEF));
    g.SetGridFixedLineColor(clDkGray);
    g.BackGround()->SetTop(7);
    g.BackGround()->SetLeft(-8);
    g.BackGround()->SetDisplay(TBackGroundDisplay::bdGradientVert);
    g.BackGround()->SetCells(TBackGroundCells::bcAll);
    g.BackGround()->SetColor(clWindow);
    g.BackGround()->SetColorTo(clHighlight);
}

struct TVisualFile {
    QString dir = testutil::TempDir();
    QString file = dir + "/visual.txt";
    QByteArray golden = ReadBytes(testutil::DataPath("gridsettings/visualprops.txt"));
};

TEST(ExGridSettingsFiles, VisualPropertiesFileOfAConfiguredGrid)
{
    TVisualFile f;
    ASSERT_FALSE(f.golden.isEmpty());
    TExStringGrid g(nullptr);
    Configure(g);
    g.SaveVisualProps(f.file);
    if (qEnvironmentVariableIsSet("MORV_UPDATE_GOLDEN"))
        WriteBytes(testutil::DataPath("gridsettings/visualprops.txt"), ReadBytes(f.file));
    EXPECT_EQ(ReadBytes(f.file), f.golden);
}

TEST(ExGridSettingsFiles, VisualPropertiesReadWithOtherLetterCase)
{
    TVisualFile f;
    // Names in upper or lower case, Look's value in lower case.
    QByteArray text;
    const QList<QByteArray> lines = f.golden.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        QByteArray line = lines[i];
        const int eq = line.indexOf('=');
        QByteArray name = line.left(eq);
        name = i % 2 ? name.toUpper() : name.toLower();
        QByteArray value = line.mid(eq + 1);
        if (name.toLower() == "look")
            value = value.toLower();
        text += name + "=" + value + "\n";
    }
    ASSERT_TRUE(text.contains("look=glxp\r\n") || text.contains("LOOK=glxp\r\n"));
    WriteBytes(f.file, text);
    TExStringGrid g(nullptr);
    g.SetLook(TGridLook::glSoft);
    g.LoadVisualProps(f.file);
    EXPECT_EQ(g.Look(), TGridLook::glXP);
    // Everything else came back too: the grid writes the golden file again.
    g.SaveVisualProps(f.file);
    EXPECT_EQ(ReadBytes(f.file), f.golden);
    EXPECT_EQ(g.ControlLook()->FixedGradientFrom(), TColor(0x00FAFBFC));
    EXPECT_EQ(g.ControlLook()->FixedGradientTo(), TColor(0x00D0D1D2));
}

TEST(ExGridSettingsFiles, VisualPropertiesLookEmptyOrUnknownKeepsTheLook)
{
    TVisualFile f;
    for (const char* look : { "Look=\r\n", "Look=glNone\r\n" }) {
        QByteArray text = f.golden;
        text.replace("Look=glXP\r\n", look);
        WriteBytes(f.file, text);
        TExStringGrid g(nullptr);
        g.SetLook(TGridLook::glSoft);
        g.LoadVisualProps(f.file);
        EXPECT_EQ(g.Look(), TGridLook::glSoft) << look;
    }
}

TEST(ExGridSettingsFiles, VisualPropertiesMissingOrBadItemsKeepTheirValues)
{
    // One line of the configured grid's file left out or spoilt: that item
    // keeps the reading grid's value, every other line is applied.
    TVisualFile f;
    const char* cases[] = { "Color", "HintColor=clNoSuch", "Balloon.Transparency", "Balloon.Transparency=many",
        "Balloon.Transparency=", "Balloon.Transparency=256", "Font.Size=2147483647", "Font.Size=0",
        "Font.Name=", "URLShow=maybe", "Bands.PrimaryColor=clNoSuch", "ControlLook.CheckSize=-1",
        "ControlLook.RadioSize=1000000", "Grouping.HeaderLineWidth=2147483647", "BackGround.Left=-2147483648",
        "BackGround.Top=99999999999" };
    // The reading grid's own lines: the look is the file's, so that applying
    // it changes nothing else.
    TExStringGrid plain(nullptr);
    plain.SetLook(TGridLook::glXP);
    plain.SaveVisualProps(f.file);
    const QByteArray own = ReadBytes(f.file);
    auto line = [](const QByteArray& text, const QByteArray& name) {
        const int at = ("\n" + text).indexOf("\n" + name + "=");
        return text.mid(at, text.indexOf("\r\n", at) + 2 - at);
    };
    for (const char* c : cases) {
        const QByteArray item(c);
        const QByteArray name = item.left(item.indexOf('=') < 0 ? item.size() : item.indexOf('='));
        QByteArray text = f.golden;
        text.replace(line(text, name), item.contains('=') ? item + "\r\n" : QByteArray());
        WriteBytes(f.file, text);
        TExStringGrid g(nullptr);
        g.SetLook(TGridLook::glXP);
        EXPECT_NO_THROW(g.LoadVisualProps(f.file)) << c;
        g.SaveVisualProps(f.file);
        QByteArray expected = f.golden;
        expected.replace(line(expected, name), line(own, name));
        EXPECT_EQ(ReadBytes(f.file), expected) << c;
    }
}

TEST(ExGridSettingsFiles, VisualPropertiesFileThatCannotBeOpenedOrCreated)
{
    TVisualFile f;
    TExStringGrid g(nullptr);
    const QString missing = f.dir + "/none/visual.txt";
    try {
        g.LoadVisualProps(missing);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + missing);
    }
    try {
        g.SaveVisualProps(missing);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot Create " + missing);
    }
    EXPECT_FALSE(QFileInfo::exists(missing));
}

// ---------------------------------------------------------------------------
// Print settings section

TEST(ExGridSettingsFiles, PrintSettingsFromAnEmptySectionAreTheDefaults)
{
    TStore store;
    WriteBytes(store.file, "[Print]\r\n");
    TExStringGrid g(nullptr);
    TPrintSettings& p = *g.PrintSettings();
    p.Centered = false;
    p.UseDisplayFont = true;
    p.RepeatFixedRows = true;
    p.Borders = TPrintBorders::pbDouble;
    p.Date = TPrintPosition::ppTopLeft;
    p.DateFormat = "yyyy";
    p.PageNumSep = "/";
    p.Font()->SetName("Courier");
    g.LoadPrintSettings(store.file, "Print");
    for (int v : { p.ColumnSpacing, p.RowSpacing, p.TitleSpacing })
        EXPECT_EQ(v, 20);
    for (int v : { p.FooterSize, p.HeaderSize, p.LeftSize, p.RightSize })
        EXPECT_EQ(v, 100);
    EXPECT_EQ(p.FixedHeight, 0);
    EXPECT_EQ(p.FixedWidth, 0);
    EXPECT_TRUE(p.Centered);
    for (bool b : { p.NoAutoSize, p.UseFixedHeight, p.UseFixedWidth, p.RepeatFixedRows, p.RepeatFixedCols,
             p.UseDisplayFont, p.UseDefaultOrientation, p.PrintGraphics })
        EXPECT_FALSE(b);
    EXPECT_EQ(p.Borders, TPrintBorders::pbNoborder);
    EXPECT_EQ(p.BorderStyle, TPenStyle::psSolid);
    EXPECT_EQ(p.BorderColor, clBlack);
    EXPECT_EQ(p.Date, TPrintPosition::ppNone);
    EXPECT_EQ(p.FitToPage, TFitToPage::fpNever);
    EXPECT_EQ(p.Orientation, TPrinterOrientation::poPortrait);
    for (const QString& s : { p.DateFormat, p.TitleText, p.PageNumSep, p.PageSuffix, p.PagePrefix })
        EXPECT_TRUE(s.isEmpty());
    EXPECT_EQ(p.TitleLines()->Count(), 0);
    for (const TFont* font : { p.Font(), p.HeaderFont(), p.FooterFont() }) {
        EXPECT_EQ(font->Name(), "Arial");
        EXPECT_EQ(font->Size(), 10);
        EXPECT_EQ(font->Color(), clBlack);
    }
}

TEST(ExGridSettingsFiles, PrintSettingsSectionWrittenAndReadBack)
{
    TStore store;
    TExStringGrid g(nullptr);
    TPrintSettings& p = *g.PrintSettings();
    p.ColumnSpacing = 1;
    p.Centered = false;
    p.UseDisplayFont = false;
    p.Borders = TPrintBorders::pbAround;
    p.BorderColor = clBtnFace;
    p.BorderStyle = TPenStyle::psDot;
    p.PageNr = TPrintPosition::ppBottomCenter;
    p.TitleText = "Title";
    p.FitToPage = TFitToPage::fpShrink;
    p.Font()->SetStyle(TFontStyle::fsBold | TFontStyle::fsStrikeOut);
    p.HeaderFont()->SetColor(clRed);
    p.Orientation = TPrinterOrientation::poLandscape;
    p.TitleLines()->SetText("A\r\nB\r\n");
    p.PrintGraphics = true;
    g.SavePrintSettings(store.file, "Print");
    const QString font = p.Font()->Name();
    const QByteArray expected = "[Print]\r\n"
                                "ColumnSpacing=1\r\nRowSpacing=0\r\nTitleSpacing=0\r\nFixedHeight=0\r\nFixedWidth=0\r\n"
                                "Centered=N\r\nNoAutoSize=N\r\nUseFixedHeight=N\r\nUseFixedWidth=N\r\n"
                                "RepeatFixedRows=N\r\nRepeatFixedCols=N\r\nUseDisplFont=N\r\nUseDefOrientation=N\r\n"
                                "Borders=5\r\nBorderColor=-16777201\r\nBorderStyle=2\r\n"
                                "Date=0\r\nPageNr=6\r\nTitle=0\r\nTime=0\r\n"
                                "DateFormat=dd/mm/yyyy\r\nTitleText=Title\r\n"
                                "FooterSize=0\r\nHeaderSize=0\r\nLeftSize=0\r\nRightSize=0\r\nFitToPage=2\r\n"
        + ("FontName=" + font + "\r\nFontSize=8\r\nFontStyle=9\r\nFontColor=-16777208\r\n").toLatin1()
        + ("HeaderFontName=" + font + "\r\nHeaderFontSize=8\r\nHeaderFontStyle=0\r\nHeaderFontColor=255\r\n").toLatin1()
        + ("FooterFontName=" + font + "\r\nFooterFontSize=8\r\nFooterFontStyle=0\r\nFooterFontColor=-16777208\r\n")
              .toLatin1()
        + "PageNumSep=/\r\nPageSuffix=\r\nPagePrefix=\r\nOrientation=1\r\n"
          "TitleLines=A\\nB\\n\r\nPrintGraphics=Y\r\n\r\n";
    EXPECT_EQ(ReadBytes(store.file), expected);

    TExStringGrid h(nullptr);
    TPrintSettings& q = *h.PrintSettings();
    h.LoadPrintSettings(store.file, "Print");
    EXPECT_EQ(q.ColumnSpacing, 1);
    EXPECT_FALSE(q.Centered);
    EXPECT_EQ(q.Borders, TPrintBorders::pbAround);
    EXPECT_EQ(q.BorderColor, clBtnFace);
    EXPECT_EQ(q.BorderStyle, TPenStyle::psDot);
    EXPECT_EQ(q.PageNr, TPrintPosition::ppBottomCenter);
    EXPECT_EQ(q.FitToPage, TFitToPage::fpShrink);
    EXPECT_EQ(q.Font()->Style(), TFontStyle::fsBold | TFontStyle::fsStrikeOut);
    EXPECT_EQ(q.HeaderFont()->Color(), clRed);
    EXPECT_EQ(q.Orientation, TPrinterOrientation::poLandscape);
    EXPECT_EQ(q.TitleLines()->Text(), "A\r\nB\r\n");
    EXPECT_TRUE(q.PrintGraphics);
}

TEST(ExGridSettingsFiles, PrintSettingsOutOfRangeValuesAndAddedStyles)
{
    TStore store;
    WriteBytes(store.file,
        "[Print]\nBorders=9\nBorderStyle=-1\nFitToPage=5\nOrientation=2\n"
        "Date=7\nTime=3\nFontStyle=0\nHeaderFontStyle=18\n");
    TExStringGrid g(nullptr);
    TPrintSettings& p = *g.PrintSettings();
    p.Borders = TPrintBorders::pbVertical;
    p.BorderStyle = TPenStyle::psDash;
    p.FitToPage = TFitToPage::fpAlways;
    p.Orientation = TPrinterOrientation::poLandscape;
    p.Date = TPrintPosition::ppTopRight;
    p.Font()->SetStyle(TFontStyle::fsBold);
    p.HeaderFont()->SetStyle(TFontStyle::fsUnderline);
    g.LoadPrintSettings(store.file, "Print");
    EXPECT_EQ(p.Borders, TPrintBorders::pbVertical);
    EXPECT_EQ(p.BorderStyle, TPenStyle::psDash);
    EXPECT_EQ(p.FitToPage, TFitToPage::fpAlways);
    EXPECT_EQ(p.Orientation, TPrinterOrientation::poLandscape);
    EXPECT_EQ(p.Date, TPrintPosition::ppNone);
    EXPECT_EQ(p.Time, TPrintPosition::ppTopCenter);
    // Stored styles are added; bits beyond the four styles are dropped.
    EXPECT_EQ(p.Font()->Style(), TFontStyle::fsBold);
    EXPECT_EQ(p.HeaderFont()->Style(), TFontStyle::fsItalic | TFontStyle::fsUnderline);
}

} // namespace
