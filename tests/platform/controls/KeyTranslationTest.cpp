// One key press becomes key-down, character and key-up in the toolkit's codes;
// dialog keys and accelerators go to the form.
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "CoreTestSupport.h"

namespace {

struct KeyCase {
    const char* name;
    WORD vk;
    TShiftState shift;
    bool keypad;
    LRESULT dlgCode;
    QStringList expected;
};

class KeyTranslation : public ::testing::TestWithParam<KeyCase> { };

TEST_P(KeyTranslation, GivesKeyDownCharacterAndKeyUp)
{
    const KeyCase& k = GetParam();
    ShownForm f;
    auto* probe = new TProbe(f.Form, f.Form, k.dlgCode);
    probe->SetFocus();
    input::Key(probe, k.vk, k.shift, 0, k.keypad);
    EXPECT_EQ(probe->Log, k.expected) << k.name;
}

const LRESULT kAll = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;

INSTANTIATE_TEST_SUITE_P(Keys, KeyTranslation,
    ::testing::Values(KeyCase { "letter", 'A', {}, false, kAll, { "down:65", "char:97", "up:65" } },
        KeyCase { "shifted letter", 'A', ssShift, false, kAll, { "down:65", "char:65", "up:65" } },
        KeyCase { "enter", VK_RETURN, {}, false, kAll, { "down:13", "char:13", "up:13" } },
        KeyCase { "escape", VK_ESCAPE, {}, false, kAll, { "down:27", "char:27", "up:27" } },
        KeyCase { "tab", VK_TAB, {}, false, kAll, { "down:9", "char:9", "up:9" } },
        KeyCase { "backspace", VK_BACK, {}, false, kAll, { "down:8", "char:8", "up:8" } },
        KeyCase { "left arrow has no character", VK_LEFT, {}, false, kAll, { "down:37", "up:37" } },
        KeyCase { "F2", VK_F2, {}, false, kAll, { "down:113", "up:113" } },
        KeyCase { "delete", VK_DELETE, {}, false, kAll, { "down:46", "up:46" } },
        KeyCase { "ctrl+A is 1", 'A', ssCtrl, false, kAll, { "down:65^", "char:1", "up:65" } },
        KeyCase { "ctrl+Z is 26", 'Z', ssCtrl, false, kAll, { "down:90^", "char:26", "up:90" } },
        KeyCase { "keypad decimal is flagged", VK_DECIMAL, {}, true, kAll, { "down:110", "char:46k", "up:110" } },
        KeyCase { "main full stop is not", VK_OEM_PERIOD, {}, false, kAll, { "down:190", "char:46", "up:190" } },
        KeyCase { "keypad digit", VK_NUMPAD5, {}, true, kAll, { "down:101", "char:53", "up:101" } }),
    [](const auto& info) {
        QString n = QString::fromLatin1(info.param.name);
        n.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QStringLiteral("_"));
        return n.toStdString();
    });

TEST(KeyTranslationRules, ConsumedKeyDownGivesNoCharacterButKeyUp)
{
    ShownForm f;
    auto* probe = new TProbe(f.Form, f.Form, kAll);
    probe->ConsumeKeyDown = true;
    probe->SetFocus();
    input::Key(probe, 'Q');
    EXPECT_EQ(probe->Log, (QStringList { "down:81", "up:81" }));
}

TEST(KeyTranslationRules, WrappedWidgetTypesTheCharacterTheHandlerChose)
{
    ShownForm f;
    auto* edit = new TLineEditProbe(f.Form, f.Form);
    edit->SetFocus();
    edit->OnKeyPress = [](TObject*, char16_t& k) {
        if (k == u'a')
            k = u'b';
        else if (k == u'x')
            k = 0;
    };
    input::Type(edit, QStringLiteral("axa1"));
    EXPECT_EQ(edit->Edit()->text(), QStringLiteral("bb1"));

    // A consumed key-down keeps the key from the widget altogether.
    edit->OnKeyDown = [](TObject*, WORD& k, TShiftState) {
        if (k == VK_BACK)
            k = 0;
    };
    input::Key(edit, VK_BACK);
    EXPECT_EQ(edit->Edit()->text(), QStringLiteral("bb1"));
    edit->OnKeyDown = nullptr;
    input::Key(edit, VK_BACK);
    EXPECT_EQ(edit->Edit()->text(), QStringLiteral("bb"));
}

TEST(KeyTranslationRules, KeyPreviewLetsTheFormSeeAndConsumeKeysFirst)
{
    ShownForm f;
    auto* probe = new TProbe(f.Form, f.Form, kAll);
    probe->SetFocus();
    QStringList formLog;
    f->SetKeyPreview(true);
    f->OnKeyDown = [&](TObject*, WORD& k, TShiftState) {
        formLog << QStringLiteral("form:%1").arg(k);
        if (k == VK_F5)
            k = 0;
    };
    f->OnKeyPress = [&](TObject*, char16_t& k) { formLog << QStringLiteral("formchar:%1").arg(int(k)); };
    input::Key(probe, 'B');
    input::Key(probe, VK_F5);
    EXPECT_EQ(formLog, (QStringList { "form:66", "formchar:98", "form:116" }));
    EXPECT_EQ(probe->Log, (QStringList { "down:66", "char:98", "up:66", "up:116" }));

    f->SetKeyPreview(false);
    formLog.clear();
    input::Key(probe, 'B');
    EXPECT_TRUE(formLog.isEmpty());
}

TEST(KeyTranslationRules, TabAndArrowsMoveTheFocusUnlessTheControlWantsThem)
{
    ShownForm f;
    auto* a = new TProbe(f.Form, f.Form);
    auto* b = new TProbe(f.Form, f.Form);
    auto* c = new TProbe(f.Form, f.Form, DLGC_WANTTAB | DLGC_WANTARROWS);
    a->SetFocus();
    input::Key(a, VK_TAB);
    EXPECT_EQ(f->ActiveControl(), b);
    EXPECT_FALSE(a->Log.contains("down:9"));
    input::Key(b, VK_TAB, ssShift);
    EXPECT_EQ(f->ActiveControl(), a);
    input::Key(a, VK_RIGHT);
    EXPECT_EQ(f->ActiveControl(), b);

    c->SetFocus();
    input::Key(c, VK_TAB);
    input::Key(c, VK_DOWN);
    EXPECT_EQ(f->ActiveControl(), c);
    EXPECT_EQ(c->Log.filter("down:"), (QStringList { "down:9", "down:40" }));

    // A control without tab stop is skipped; the order wraps round.
    b->SetTabStop(false);
    input::Key(c, VK_TAB, ssShift, 0);
    c->SetFocus();
    a->SetFocus();
    input::Key(a, VK_TAB);
    EXPECT_EQ(f->ActiveControl(), c);
}

TEST(KeyTranslationRules, EnterAndEscapeReachTheFormsControlsAsDialogKeys)
{
    ShownForm f;
    auto* edit = new TProbe(f.Form, f.Form, DLGC_WANTCHARS);
    auto* okButton = new TProbe(f.Form, f.Form);
    okButton->HandleDialogKey = VK_RETURN;
    auto* cancelButton = new TProbe(f.Form, f.Form);
    cancelButton->HandleDialogKey = VK_ESCAPE;
    edit->SetFocus();

    input::Key(edit, VK_RETURN);
    input::Key(edit, VK_ESCAPE);
    EXPECT_EQ(okButton->Log, QStringList { "dialogkey:13" });
    EXPECT_EQ(cancelButton->Log, QStringList { "dialogkey:27" });
    // Handled as dialog keys: the edit sees neither key-down nor character.
    EXPECT_EQ(edit->Log, (QStringList { "up:13", "up:27" }));

    // A control that wants all keys keeps Enter.
    edit->DlgCode = DLGC_WANTALLKEYS;
    okButton->Log.clear();
    input::Key(edit, VK_RETURN);
    EXPECT_TRUE(okButton->Log.isEmpty());
}

TEST(KeyTranslationRules, AcceleratorsReachControlsAsDialogCharacters)
{
    ShownForm f;
    auto* edit = new TProbe(f.Form, f.Form, DLGC_WANTCHARS);
    auto* button = new TProbe(f.Form, f.Form);
    button->HandleDialogChar = u's';
    edit->SetFocus();
    // Alt+S works from a control that wants characters; plain S is typed.
    input::Key(edit, 'S');
    EXPECT_TRUE(button->Log.isEmpty());
    input::Key(edit, 'S', ssAlt);
    EXPECT_EQ(button->Log, QStringList { "dialogchar:s" });
    // From a control that does not want characters, the plain key is enough.
    button->Log.clear();
    auto* other = new TProbe(f.Form, f.Form, 0);
    other->SetFocus();
    input::Key(other, 'S');
    EXPECT_EQ(button->Log, QStringList { "dialogchar:s" });
    EXPECT_FALSE(other->Log.contains("char:115"));
}

} // namespace
