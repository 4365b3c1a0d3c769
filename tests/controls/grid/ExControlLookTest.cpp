// The control look: starting values and copy rules, the fixed gradient
// colours it hands to the grid, its repaints; and the header and footer
// looks of the drop-down editors it owns, with their buttons.
#include "controls/grid/ExControlLook.h"

#include "common/FieldTable.h"
#include "controls/base/ExDropDownLook.h"
#include "controls/grid/GridDataTestSupport.h"

#include <gtest/gtest.h>

namespace {

#define GRADIENT(f, start, copied) PROP(T, f, int(start), int(clFuchsia), copied)

TEST(ExControlLook, StartsAndAssignsAllButFiveLookFlags)
{
    TCountingGrid grid;
    using T = TControlLook;
    const std::vector<Field<T>> fields = {
        PROP(T, CheckSize, 15, 20, true),
        PROP(T, ControlStyle, int(TGridControlStyle::csTheme), int(TGridControlStyle::csFlat), true),
        PROP(T, Color, int(clBlack), int(clNavy), true),
        PROP(T, RadioSize, 10, 12, true),
        PROP(T, FlatButton, 0, 1, false),
        PROP(T, ProgressMarginY, 2, 4, true),
        PROP(T, ProgressMarginX, 2, 5, true),
        PROP(T, ProgressXP, 0, 1, false),
        PROP(T, DropDownAlwaysVisible, 0, 1, true),
        PROP(T, SpinButtonsAlwaysVisible, 0, 1, true),
        PROP(T, NoDisabledCheckRadioLook, 0, 1, false),
        PROP(T, NoDisabledButtonLook, 0, 1, false),
        PROP(T, CommentColor, int(clRed), int(clGreen), true),
        PLAIN(T, ProgressBorderColor, int(clGray), int(clTeal), true),
        GRADIENT(FixedGradientFrom, clNone, true),
        GRADIENT(FixedGradientTo, clNone, true),
        GRADIENT(FixedGradientMirrorFrom, clNone, true),
        GRADIENT(FixedGradientMirrorTo, clNone, true),
        GRADIENT(FixedGradientHoverFrom, clGray, true),
        GRADIENT(FixedGradientHoverTo, clWhite, true),
        GRADIENT(FixedGradientHoverMirrorFrom, clNone, true),
        GRADIENT(FixedGradientHoverMirrorTo, clNone, true),
        GRADIENT(FixedGradientHoverBorder, clSilver, true),
        GRADIENT(FixedGradientDownFrom, clGray, true),
        GRADIENT(FixedGradientDownTo, clSilver, true),
        GRADIENT(FixedGradientDownMirrorFrom, clNone, true),
        GRADIENT(FixedGradientDownMirrorTo, clNone, true),
        GRADIENT(FixedGradientDownBorder, clGray, true),
        PLAIN(T, FixedDropDownButton, 0, 1, false),
        PLAIN(T, CheckAlwaysActive, 0, 1, true),
        PLAIN(T, RadioAlwaysActive, 0, 1, true),
        PLAIN(T, DropDownCount, 8, 12, true),
        PLAIN(T, HintMaxWidth, 0, 300, true),
    };
    CheckStartAndAssign(fields, [&] { return std::make_unique<T>(&grid); });
}

TEST(ExControlLook, AssignCopiesGlyphsAndDropDownLooksByValueWithoutTouchingTheGrid)
{
    TCountingGrid grid, other;
    TControlLook src(&other), dst(&grid);
    TBitmap checked(3, 3), unchecked(4, 4), on(5, 5), off(6, 6);
    src.SetCheckedGlyph(&checked);
    src.SetUnCheckedGlyph(&unchecked);
    src.SetRadioOnGlyph(&on);
    src.SetRadioOffGlyph(&off);
    src.SetFixedGradientFrom(clRed);
    src.SetFixedGradientTo(clBlue);
    src.DropDownHeader()->Caption = "Pick";
    src.DropDownHeader()->Buttons()->Add()->SetCaption("OK");
    src.DropDownFooter()->SizeGrip = false;
    const TColor gridFrom = grid.VRKGradientFrom();
    grid.ResetCounts();

    dst.Assign(&src);
    EXPECT_EQ(dst.FixedGradientFrom(), clRed);
    EXPECT_EQ(dst.FixedGradientTo(), clBlue);
    EXPECT_EQ(grid.VRKGradientFrom(), gridFrom) << "copied, not forwarded";
    EXPECT_EQ(grid.Repaints, 0);
    const TBitmap* copies[] = { dst.CheckedGlyph(), dst.UnCheckedGlyph(), dst.RadioOnGlyph(), dst.RadioOffGlyph() };
    const TBitmap* origins[] = { src.CheckedGlyph(), src.UnCheckedGlyph(), src.RadioOnGlyph(), src.RadioOffGlyph() };
    for (int i = 0; i < 4; ++i) {
        EXPECT_NE(copies[i], origins[i]);
        EXPECT_EQ(copies[i]->Width(), i + 3) << "glyph " << i;
    }
    EXPECT_EQ(dst.DropDownHeader()->Caption, "Pick");
    ASSERT_EQ(dst.DropDownHeader()->Buttons()->Count(), 1);
    EXPECT_EQ(dst.DropDownHeader()->Buttons()->Items(0)->Caption(), "OK");
    EXPECT_FALSE(dst.DropDownFooter()->SizeGrip);
    src.DropDownHeader()->Buttons()->Items(0)->SetCaption("Yes");
    EXPECT_EQ(dst.DropDownHeader()->Buttons()->Items(0)->Caption(), "OK");

    dst.Assign(&checked); // another class: ignored
    EXPECT_EQ(dst.FixedGradientFrom(), clRed);
}

// Each fixed gradient colour goes to the grid's colour of the same state:
// From, To and Border not when clNone, the mirror colours always; only the
// grid's first four colours repaint it.
TEST(ExControlLook, FixedGradientSettersForwardToTheGridsColours)
{
    using Setter = void (TControlLook::*)(TColor);
    using Getter = TColor (TExStringGrid::*)() const;
    struct Case {
        const char* name;
        Setter set;
        Getter grid;
        bool forwardsNone;
        bool repaints;
    };
    const Case cases[] = {
        { "From", &TControlLook::SetFixedGradientFrom, &TExStringGrid::VRKGradientFrom, false, true },
        { "To", &TControlLook::SetFixedGradientTo, &TExStringGrid::VRKGradientTo, false, true },
        { "MirrorFrom", &TControlLook::SetFixedGradientMirrorFrom, &TExStringGrid::VRKGradientMirrorFrom, true, true },
        { "MirrorTo", &TControlLook::SetFixedGradientMirrorTo, &TExStringGrid::VRKGradientMirrorTo, true, true },
        { "HoverFrom", &TControlLook::SetFixedGradientHoverFrom, &TExStringGrid::VRKGradientHoverFrom, false, false },
        { "HoverTo", &TControlLook::SetFixedGradientHoverTo, &TExStringGrid::VRKGradientHoverTo, false, false },
        { "HoverMirrorFrom", &TControlLook::SetFixedGradientHoverMirrorFrom, &TExStringGrid::VRKGradientHoverMirrorFrom,
            true, false },
        { "HoverMirrorTo", &TControlLook::SetFixedGradientHoverMirrorTo, &TExStringGrid::VRKGradientHoverMirrorTo, true,
            false },
        { "HoverBorder", &TControlLook::SetFixedGradientHoverBorder, &TExStringGrid::VRKGradientHoverBorder, false,
            false },
        { "DownFrom", &TControlLook::SetFixedGradientDownFrom, &TExStringGrid::VRKGradientDownFrom, false, false },
        { "DownTo", &TControlLook::SetFixedGradientDownTo, &TExStringGrid::VRKGradientDownTo, false, false },
        { "DownMirrorFrom", &TControlLook::SetFixedGradientDownMirrorFrom, &TExStringGrid::VRKGradientDownMirrorFrom,
            true, false },
        { "DownMirrorTo", &TControlLook::SetFixedGradientDownMirrorTo, &TExStringGrid::VRKGradientDownMirrorTo, true,
            false },
        { "DownBorder", &TControlLook::SetFixedGradientDownBorder, &TExStringGrid::VRKGradientDownBorder, false,
            false },
    };
    TCountingGrid grid;
    TControlLook look(&grid);
    for (const Case& c : cases) {
        grid.ResetCounts();
        (look.*c.set)(clOlive);
        EXPECT_EQ((grid.*c.grid)(), clOlive) << c.name;
        EXPECT_EQ(grid.Repaints, c.repaints ? 1 : 0) << c.name;

        grid.ResetCounts();
        (look.*c.set)(clNone);
        EXPECT_EQ((grid.*c.grid)(), c.forwardsNone ? clNone : clOlive) << c.name << " set to clNone";
        EXPECT_EQ(grid.Repaints, c.repaints && c.forwardsNone ? 1 : 0) << c.name << " set to clNone";
    }
}

TEST(ExControlLook, ANewLookClearsOnlyTheGridsHoverAndDownMirrorColours)
{
    TCountingGrid grid;
    grid.SetVRKGradientFrom(clRed);
    grid.SetVRKGradientMirrorFrom(clRed);
    grid.SetVRKGradientHoverMirrorFrom(clRed);
    grid.SetVRKGradientHoverMirrorTo(clRed);
    grid.SetVRKGradientDownMirrorFrom(clRed);
    grid.SetVRKGradientDownMirrorTo(clRed);
    grid.SetVRKGradientHoverFrom(clRed);
    grid.SetVRKGradientDownBorder(clRed);
    TControlLook look(&grid);
    EXPECT_EQ(grid.VRKGradientHoverMirrorFrom(), clNone);
    EXPECT_EQ(grid.VRKGradientHoverMirrorTo(), clNone);
    EXPECT_EQ(grid.VRKGradientDownMirrorFrom(), clNone);
    EXPECT_EQ(grid.VRKGradientDownMirrorTo(), clNone);
    EXPECT_EQ(grid.VRKGradientFrom(), clRed);
    EXPECT_EQ(grid.VRKGradientMirrorFrom(), clRed);
    EXPECT_EQ(grid.VRKGradientHoverFrom(), clRed);
    EXPECT_EQ(grid.VRKGradientDownBorder(), clRed);

    // Init brings the colours back to where they started.
    look.SetColor(clRed);
    look.SetCommentColor(clBlue);
    look.ProgressBorderColor = clBlue;
    look.SetFixedGradientHoverTo(clRed);
    look.SetFixedGradientDownMirrorTo(clRed);
    look.Init();
    EXPECT_EQ(look.Color(), clBlack);
    EXPECT_EQ(look.CommentColor(), clRed);
    EXPECT_EQ(look.ProgressBorderColor, clGray);
    EXPECT_EQ(look.FixedGradientHoverTo(), clWhite);
    EXPECT_EQ(look.FixedGradientDownMirrorTo(), clNone);
    EXPECT_EQ(grid.VRKGradientDownMirrorTo(), clNone);
}

TEST(ExControlLook, LookSettersRepaintTheGridAndCopyBitmaps)
{
    TCountingGrid grid;
    TControlLook look(&grid);
    TBitmap glyph(9, 9);
    const std::pair<const char*, std::function<void()>> setters[] = {
        { "CheckSize", [&] { look.SetCheckSize(15); } },
        { "CheckedGlyph", [&] { look.SetCheckedGlyph(&glyph); } },
        { "UnCheckedGlyph", [&] { look.SetUnCheckedGlyph(&glyph); } },
        { "RadioSize", [&] { look.SetRadioSize(11); } },
        { "RadioOnGlyph", [&] { look.SetRadioOnGlyph(&glyph); } },
        { "RadioOffGlyph", [&] { look.SetRadioOffGlyph(&glyph); } },
        { "Color", [&] { look.SetColor(clMaroon); } },
        { "CommentColor", [&] { look.SetCommentColor(clMaroon); } },
        { "ControlStyle", [&] { look.SetControlStyle(TGridControlStyle::csFlat); } },
        { "DropDownAlwaysVisible", [&] { look.SetDropDownAlwaysVisible(true); } },
        { "SpinButtonsAlwaysVisible", [&] { look.SetSpinButtonsAlwaysVisible(true); } },
        { "FlatButton", [&] { look.SetFlatButton(true); } },
        { "NoDisabledCheckRadioLook", [&] { look.SetNoDisabledCheckRadioLook(true); } },
        { "NoDisabledButtonLook", [&] { look.SetNoDisabledButtonLook(true); } },
        { "ProgressMarginX", [&] { look.SetProgressMarginX(3); } },
        { "ProgressMarginY", [&] { look.SetProgressMarginY(3); } },
        { "ProgressXP", [&] { look.SetProgressXP(true); } },
    };
    for (const auto& [name, set] : setters) {
        grid.ResetCounts();
        set();
        EXPECT_EQ(grid.Repaints, 1) << name;
    }
    glyph.SetSize(2, 2);
    for (const TBitmap* g : { look.CheckedGlyph(), look.UnCheckedGlyph(), look.RadioOnGlyph(), look.RadioOffGlyph() })
        EXPECT_EQ(g->Width(), 9);
}

TEST(ExControlLook, DropDownLooksBelongToTheGridAndAreSetByCopy)
{
    TCountingGrid grid;
    TControlLook look(&grid);
    EXPECT_EQ(look.DropDownHeader()->Owner(), &grid);
    EXPECT_EQ(look.DropDownFooter()->Owner(), &grid);
    EXPECT_EQ(look.DropDownHeader()->Buttons()->Owner(), &grid);
    EXPECT_EQ(look.DropDownFooter()->Buttons()->Owner(), &grid);

    THeaderAppearance header(nullptr);
    header.Caption = "Units";
    TFooterAppearance footer(nullptr);
    footer.Height = 30;
    look.SetDropDownHeader(&header);
    look.SetDropDownFooter(&footer);
    EXPECT_NE(look.DropDownHeader(), &header);
    EXPECT_EQ(look.DropDownHeader()->Caption, "Units");
    EXPECT_EQ(look.DropDownFooter()->Height, 30);
    EXPECT_EQ(look.DropDownHeader()->Owner(), &grid) << "the owner stays";
}

// ---------------------------------------------------------------------------
// Drop-down header and footer looks

template <class A> void ExpectFreshLook(const A& a, const char* name)
{
    EXPECT_TRUE(a.Visible()) << name;
    EXPECT_EQ(a.Height, 22) << name;
    EXPECT_EQ(a.BorderWidth, 1) << name;
    EXPECT_EQ(a.ImageIndex, -1) << name;
    EXPECT_TRUE(a.Caption.isEmpty()) << name;
    EXPECT_EQ(a.ColorTo, clWhite) << name;
    EXPECT_EQ(a.Color, clSilver) << name;
    EXPECT_EQ(a.BorderColor, clBlack) << name;
    EXPECT_EQ(a.GradientDirection, gdVertical) << name;
    EXPECT_EQ(a.ButtonAlignment, TButtonAlignment::baRight) << name;
    EXPECT_EQ(a.Buttons()->Count(), 0) << name;
    EXPECT_EQ(a.Font()->Name(), "Tahoma") << name;
    TFont platformDefault;
    EXPECT_EQ(a.Font()->Height(), platformDefault.Height()) << name;
}

TEST(ExDropDownLook, FreshLooksShowASilverToWhiteStripWithABlackBorder)
{
    THeaderAppearance header(nullptr);
    TFooterAppearance footer(nullptr);
    ExpectFreshLook(header, "header");
    ExpectFreshLook(footer, "footer");
    EXPECT_TRUE(footer.SizeGrip);
}

// Sets every setting of a look to a value other than its start.
template <class A> void Change(A& a, TFont& Font)
{
    a.Height = 30;
    a.BorderWidth = 2;
    a.ImageIndex = 4;
    a.Caption = "<b>Pick</b>";
    a.ColorTo = clYellow;
    a.Color = clAqua;
    a.BorderColor = clNavy;
    a.GradientDirection = gdHorizontal;
    a.ButtonAlignment = TButtonAlignment::baLeft;
    Font.SetName("Verdana");
    Font.SetSize(12);
    a.SetFont(&Font);
    a.SetVisible(false);
    a.Buttons()->Add()->SetCaption("Clear");
    a.Buttons()->Add()->SetWidth(40);
}

template <class A> void ExpectCopied(const A& dst, const A& src, bool all, const char* name)
{
    EXPECT_EQ(dst.ColorTo, clYellow) << name;
    EXPECT_EQ(dst.Color, clAqua) << name;
    EXPECT_EQ(dst.BorderColor, clNavy) << name;
    EXPECT_EQ(dst.GradientDirection, gdHorizontal) << name;
    EXPECT_EQ(dst.Font()->Name(), "Verdana") << name;
    EXPECT_EQ(dst.Font()->Size(), 12) << name;
    EXPECT_NE(dst.Font(), src.Font()) << name;
    EXPECT_EQ(dst.Height, all ? 30 : 22) << name;
    EXPECT_EQ(dst.BorderWidth, all ? 2 : 1) << name;
    EXPECT_EQ(dst.ImageIndex, all ? 4 : -1) << name;
    EXPECT_EQ(dst.Caption, all ? "<b>Pick</b>" : "") << name;
    EXPECT_EQ(dst.ButtonAlignment, all ? TButtonAlignment::baLeft : TButtonAlignment::baRight) << name;
    EXPECT_EQ(dst.Visible(), !all) << name;
    ASSERT_EQ(dst.Buttons()->Count(), all ? 2 : 0) << name;
    if (all) {
        EXPECT_EQ(dst.Buttons()->Items(0)->Caption(), "Clear") << name;
        EXPECT_EQ(dst.Buttons()->Items(1)->Width(), 40) << name;
        EXPECT_NE(dst.Buttons()->Items(0), src.Buttons()->Items(0)) << name;
    }
}

template <class A> void CheckCopies(const char* name)
{
    TFont font;
    A src(nullptr);
    Change(src, font);
    src.SetVisible(false);

    A all(nullptr), colours(nullptr);
    int changes = 0, buttonChanges = 0;
    all.OnChange = [&](TObject* s) {
        EXPECT_EQ(s, &all);
        EXPECT_EQ(all.Caption, "<b>Pick</b>") << "the new look is in place when visibility changes";
        ++changes;
    };
    all.OnButtonsChanged = [&](TObject* s) {
        EXPECT_EQ(s, &all);
        ++buttonChanges;
    };
    all.Assign(&src);
    colours.AssignColors(&src);
    ExpectCopied(all, src, true, name);
    ExpectCopied(colours, src, false, name);
    EXPECT_EQ(changes, 1) << name << ": visibility changed once";
    EXPECT_GT(buttonChanges, 0) << name << ": the copied buttons announce their settings";

    changes = 0;
    all.Assign(&src);
    EXPECT_EQ(changes, 0) << name << ": visibility unchanged";

    TPersistent other;
    A fresh(nullptr);
    fresh.Assign(&other);
    fresh.AssignColors(&other);
    ExpectFreshLook(fresh, name);
}

TEST(ExDropDownLook, AssignCopiesTheWholeLookAndAssignColorsOnlyColoursFontAndDirection)
{
    CheckCopies<THeaderAppearance>("header");
    CheckCopies<TFooterAppearance>("footer");

    TFooterAppearance src(nullptr), dst(nullptr), colours(nullptr);
    src.SizeGrip = false;
    dst.Assign(&src);
    colours.AssignColors(&src);
    EXPECT_FALSE(dst.SizeGrip);
    EXPECT_TRUE(colours.SizeGrip);
    THeaderAppearance header(nullptr);
    header.Caption = "x";
    dst.Assign(&header); // another class: ignored
    EXPECT_TRUE(dst.Caption.isEmpty());
}

// Caption, Enabled and Width announce a change through the collection (and
// the look); Height, ImageIndex, ModalResult and the list itself are silent.
TEST(ExDropDownLook, ButtonsAnnounceOnlyCaptionEnabledAndWidthChanges)
{
    TFooterButtons buttons(nullptr); // on its own
    int collection = 0;
    buttons.OnChange = [&](TObject* s) {
        EXPECT_EQ(s, &buttons);
        ++collection;
    };
    TFooterAppearance look(nullptr); // relays its buttons' notices
    int fromLook = 0;
    look.OnButtonsChanged = [&](TObject* s) {
        EXPECT_EQ(s, &look);
        ++fromLook;
    };

    TFooterButton* b = buttons.Add();
    TFooterButton* p = look.Buttons()->Add();
    EXPECT_EQ(collection + fromLook, 0) << "adding is silent";
    EXPECT_EQ(b->ImageIndex(), -1);
    EXPECT_TRUE(b->Enabled());
    EXPECT_EQ(b->ModalResult(), 0);
    EXPECT_EQ(b->Width(), 0);
    EXPECT_EQ(b->Height(), 0);

    struct Case {
        const char* name;
        std::function<void(TFooterButton*)> set;
        int changes;
    };
    const Case cases[] = {
        { "Caption", [](TFooterButton* x) { x->SetCaption("OK"); }, 1 },
        { "Caption again", [](TFooterButton* x) { x->SetCaption("OK"); }, 0 },
        { "Enabled", [](TFooterButton* x) { x->SetEnabled(false); }, 1 },
        { "Enabled again", [](TFooterButton* x) { x->SetEnabled(false); }, 0 },
        { "Width", [](TFooterButton* x) { x->SetWidth(60); }, 1 },
        { "Width again", [](TFooterButton* x) { x->SetWidth(60); }, 0 },
        { "Height", [](TFooterButton* x) { x->SetHeight(40); }, 0 },
        { "ImageIndex", [](TFooterButton* x) { x->SetImageIndex(2); }, 0 },
        { "ModalResult", [](TFooterButton* x) { x->SetModalResult(1); }, 0 },
    };
    for (const Case& c : cases) {
        collection = fromLook = 0;
        c.set(b);
        c.set(p);
        EXPECT_EQ(collection, c.changes) << c.name;
        EXPECT_EQ(fromLook, c.changes) << c.name;
    }
    collection = 0;
    buttons.Insert(0);
    buttons.Items(0)->SetIndex(1);
    buttons.Delete(1);
    EXPECT_EQ(collection, 0) << "inserting, deleting and moving are silent";

    // A copy of a button takes every setting, the modal result too.
    TFooterButton* copy = buttons.Add();
    copy->Assign(b);
    EXPECT_EQ(copy->Caption(), "OK");
    EXPECT_FALSE(copy->Enabled());
    EXPECT_EQ(copy->Width(), 60);
    EXPECT_EQ(copy->Height(), 40);
    EXPECT_EQ(copy->ImageIndex(), 2);
    EXPECT_EQ(copy->ModalResult(), 1);
    THeaderButtons headerButtons(nullptr);
    THeaderButton* h = headerButtons.Add();
    h->Assign(b); // another class: ignored
    EXPECT_TRUE(h->Caption().isEmpty());
}

} // namespace
