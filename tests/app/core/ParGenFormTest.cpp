// The parameter form: its panels and layout, the model mechanism, the "."
// chains of the address fields, the DHCP rule, Cancel and Esc, texts, size and
// wheel.

#include "ParGenTestSupport.h"

#include "platform/runtime/Types.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QStyleHints>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace {

// Scrolled to the top with every shown panel expanded, as a picture.
QImage Render(TFParGen* f)
{
    f->CPG->Perform(WM_VSCROLL, SB_TOP);
    for (TCategoryPanel* p : f->CPG->Stacked())
        p->Expand();
    return f->PaintToImage();
}

TEST_F(ParGenTest, FormWithDefaultsAndWithALoadedFile)
{
    Form->Show();
    EXPECT_EQ(Form->ClientWidth(), 460);
    EXPECT_EQ(Form->ClientHeight(), 700);
    const QImage defaults = Render(Form);
    testutil::SaveImagePng(defaults, "pargen_defaults");
    EXPECT_TRUE(testutil::MatchesGolden(defaults, "pargen_defaults"));
    Form->Hide();

    WriteBytes(File_ParGen, ReadBytes(testutil::DataPath("pargen/loaded.xml")));
    Form->Show();
    const QImage loaded = Render(Form);
    testutil::SaveImagePng(loaded, "pargen_loaded");
    EXPECT_TRUE(testutil::MatchesGolden(loaded, "pargen_loaded"));
}

TEST_F(ParGenTest, ModelPanelsStackInOrderWithTheirRowRules)
{
    const std::vector<TCategoryPanel*> expected = { Form->CP_Ethernet_Connection, Form->CP_HART_Master,
        Form->CP_Modbus_Slave, Form->CP_Ethernet, Form->CP_Web_Pages };
    EXPECT_EQ(Form->CPG->Stacked(), expected);
    const QStringList captions
        = { "1. Ethernet Connection", "2. HART Master", "3. Modbus Slave", "4. Ethernet", "5. Web Pages" };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(expected[i]->Caption(), captions[i]);
        EXPECT_EQ(expected[i]->TabOrder(), i);
    }

    // Each panel ends 12 pixels under the control its rule names.
    const std::pair<TCategoryPanel*, TControl*> last[] = {
        { Form->CP_Ethernet_Connection, Form->E_EthConn_Sec_DNS_IP4 },
        { Form->CP_HART_Master, Form->E_HART_Master_Diagnostic },
        { Form->CP_Modbus_Slave, Form->CB_ModbusSlave_ReadInput },
        { Form->CP_Ethernet, Form->E_Ethernet_GAT4 },
        { Form->CP_Web_Pages, Form->E_WebPages_Password },
    };
    for (const auto& [panel, control] : last)
        EXPECT_EQ(panel->ExpandedHeight(), control->Top() + control->Height() + Form->CPG->HeaderHeight() + 12)
            << panel->Caption().toStdString();

    // The Modbus panel of this model has no serial row: the rest moves up.
    EXPECT_FALSE(Form->CB_ModbusSlave_Serial->Visible());
    EXPECT_FALSE(Form->L_ModbusSlave_Serial->Visible());
    EXPECT_EQ(Form->L_ModbusSlave_Baudrate->Top(), 12);
    EXPECT_EQ(Form->CB_ModbusSlave_Baudrate->Top(), 9);
    EXPECT_EQ(Form->E_ModbusSlave_IDDevice->Top(), 93);
    EXPECT_EQ(Form->CB_ModbusSlave_ReadInput->Top(), 124);
    // The port rows of the Ethernet panel are hidden in every model.
    EXPECT_FALSE(Form->E_Ethernet_TCP_Port->Visible());
    EXPECT_FALSE(Form->E_Ethernet_UDP_Port->Visible());

    // Limits of the text fields.
    EXPECT_EQ(Form->E_EthConn_Device_Name->MaxLength(), 31);
    EXPECT_EQ(Form->E_HART_Master_Diagnostic->MaxLength(), 8);
    EXPECT_EQ(Form->E_WebPages_User->MaxLength(), 8);
    EXPECT_EQ(Form->E_WebPages_Password->MaxLength(), 8);
    EXPECT_EQ(Form->E_WebPages_Password->PasswordChar(), 0);
}

TEST(ParGenModels, EveryModelShowsItsPanelsInItsOrder)
{
    Init_Lang_Default();
    std::vector<int> models;
    for (const auto& [model, panels] : Family_Panel_Table()) {
        models.push_back(model);
        EXPECT_EQ(Model_Panels(model), panels) << model;
    }
    EXPECT_EQ(Family_Models(), models);
    // Model 201 puts the web pages above the Ethernet panel.
    TFParGen bacnet(nullptr, 201);
    EXPECT_EQ(bacnet.CP_Web_Pages->Caption(), "4. Web Pages");
    EXPECT_EQ(bacnet.CP_Ethernet->Caption(), "5. Ethernet");
    EXPECT_EQ(bacnet.CP_BACnet_Slave->Caption(), "3. BACnet Slave");
    EXPECT_TRUE(Model_Panels(199).empty());
}

TEST_F(ParGenTest, DotMovesAlongTheAddressChainsAndIsNeverTyped)
{
    Form->Show();
    struct Case {
        TEdit* from;
        TEdit* to;
    };
    const Case cases[] = {
        { Form->E_Ethernet_IP2, Form->E_Ethernet_IP3 },
        { Form->E_Ethernet_IP4, Form->E_Ethernet_SM1 },
        { Form->E_Ethernet_SM4, Form->E_Ethernet_GAT1 },
        { Form->E_Ethernet_GAT4, Form->E_Ethernet_GAT4 }, // end of the chain
        { Form->E_EthConn_Pri_DNS_IP4, Form->E_EthConn_Sec_DNS_IP1 },
        { Form->E_EthConn_Sec_DNS_IP4, Form->E_EthConn_Sec_DNS_IP4 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from->Hint().toStdString());
        const QString before = c.from->Text();
        const QString next = c.to->Text();
        c.from->SetFocus();
        input::Key(c.from, VK_OEM_PERIOD, {}, u'.');
        EXPECT_EQ(Form->FocusedControl(), c.to);
        EXPECT_EQ(c.from->Text(), before);
        EXPECT_EQ(c.to->Text(), next);
    }
    // Other keys type as usual; the keypad's decimal key is a dot too.
    Form->E_Ethernet_IP1->SetText(QString());
    Form->E_Ethernet_IP1->SetFocus();
    input::Type(Form->E_Ethernet_IP1, "10");
    input::Key(Form->E_Ethernet_IP1, VK_DECIMAL, {}, u'.', true);
    EXPECT_EQ(Form->E_Ethernet_IP1->Text(), "10");
    EXPECT_EQ(Form->FocusedControl(), Form->E_Ethernet_IP2);
}

TEST_F(ParGenTest, CableDhcpDisablesTheEthernetAddressAtOnce)
{
    Form->Show();
    const std::vector<TControl*> address = { Form->E_Ethernet_IP1, Form->E_Ethernet_IP2, Form->E_Ethernet_IP3,
        Form->E_Ethernet_IP4, Form->E_Ethernet_SM1, Form->E_Ethernet_SM2, Form->E_Ethernet_SM3, Form->E_Ethernet_SM4,
        Form->E_Ethernet_GAT1, Form->E_Ethernet_GAT2, Form->E_Ethernet_GAT3, Form->E_Ethernet_GAT4,
        Form->CB_Ethernet_En_GAT };
    auto enabledCount
        = [&] { return std::count_if(address.begin(), address.end(), [](TControl* c) { return c->Enabled(); }); };
    ASSERT_EQ(enabledCount(), 13);

    input::Click(Form->CB_EthConn_En_DHCP_Cable, { 5, 8 });
    ASSERT_TRUE(Form->CB_EthConn_En_DHCP_Cable->Checked());
    EXPECT_EQ(enabledCount(), 0);
    EXPECT_TRUE(Form->Is_Change);
    input::Click(Form->CB_EthConn_En_DHCP_Cable, { 5, 8 });
    EXPECT_EQ(enabledCount(), 13);

    // The gateway edits do not follow the gateway box.
    input::Click(Form->CB_Ethernet_En_GAT, { 5, 8 });
    input::Click(Form->CB_Ethernet_En_GAT, { 5, 8 });
    EXPECT_TRUE(Form->E_Ethernet_GAT1->Enabled());

    // A file with DHCP on shows the address disabled; the Wi-Fi box stays
    // cleared and disabled whatever the file says.
    Form->Hide();
    WriteParGen("<Eth_Conn_DHCP_Cable>1</Eth_Conn_DHCP_Cable><Eth_Conn_DHCP_WiFi>1</Eth_Conn_DHCP_WiFi>");
    Form->Show();
    EXPECT_EQ(enabledCount(), 0);
    EXPECT_FALSE(Form->CB_EthConn_En_DHCP_WiFi->Checked());
    EXPECT_FALSE(Form->CB_EthConn_En_DHCP_WiFi->Enabled());
    EXPECT_FALSE(Form->Is_Change);
}

TEST_F(ParGenTest, CancelAsksOnlyAfterAChange)
{
    // Unchanged (the loaded file's values included): closes at once.
    WriteBytes(File_ParGen, ReadBytes(testutil::DataPath("pargen/loaded.xml")));
    Driver->OnForm(
        "TFParGen", [](TCustomForm* f) { static_cast<TFParGen*>(f)->Btn_Cancel->Click(); }, 1);
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_TRUE(Driver->Messages().empty());

    // After an edit: text 911 with Yes and No; No keeps the form and the edit.
    Driver->AnswerMessageBox(mrNo);
    Driver->AnswerMessageBox(mrYes);
    bool stillOpen = false;
    QString kept;
    Driver->OnForm(
        "TFParGen",
        [&](TCustomForm* f) {
            auto* form = static_cast<TFParGen*>(f);
            form->E_WebPages_User->SetFocus();
            input::Type(form->E_WebPages_User, "x");
            form->Btn_Cancel->Click();
            stillOpen = form->ModalResult() == mrNone;
            kept = form->E_WebPages_User->Text();
            form->Btn_Cancel->Click();
        },
        1);
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(kept, "x"); // focusing selected the whole text
    ASSERT_EQ(Driver->Messages().size(), 2u);
    EXPECT_EQ(Driver->Messages()[0].Text, "Do you want to exit without saving changes?");
    EXPECT_EQ(Driver->Messages()[0].DlgType, mtConfirmation);
    EXPECT_EQ(Driver->Messages()[0].Buttons, mbYesNo);
    EXPECT_TRUE(Driver->Failures().isEmpty()) << Driver->Failures().join("; ").toStdString();
}

TEST_F(ParGenTest, EscapeCancelsAndEnterInAnEditDoesNotSave)
{
    auto press = [](TWinControl* c, WORD key, char16_t ch) {
        c->SetFocus();
        input::Key(c, key, {}, ch);
    };
    // Unchanged: Esc closes at once, nothing asked, nothing written.
    Driver->OnForm(
        "TFParGen", [&](TCustomForm* f) { press(static_cast<TFParGen*>(f)->E_WebPages_User, VK_ESCAPE, 27); }, 1);
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_TRUE(Driver->Messages().empty());

    // Enter in an edit keeps the form open; after the edit Esc asks text 911,
    // No stays, Yes leaves.
    Driver->AnswerMessageBox(mrNo);
    Driver->AnswerMessageBox(mrYes);
    bool openAfterEnter = false;
    bool openAfterNo = false;
    Driver->OnForm(
        "TFParGen",
        [&](TCustomForm* f) {
            auto* form = static_cast<TFParGen*>(f);
            input::Type(form->E_WebPages_User, "x");
            press(form->E_WebPages_User, VK_RETURN, 13);
            openAfterEnter = form->ModalResult() == mrNone;
            press(form->E_WebPages_User, VK_ESCAPE, 27);
            openAfterNo = form->ModalResult() == mrNone;
            press(form->E_WebPages_User, VK_ESCAPE, 27);
        },
        1);
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_TRUE(openAfterEnter);
    EXPECT_TRUE(openAfterNo);
    EXPECT_FALSE(QFile::exists(File_ParGen));
    EXPECT_EQ(Driver->MessageTexts(), QStringList({ Lang(911), Lang(911) }));
    EXPECT_TRUE(Driver->Failures().isEmpty()) << Driver->Failures().join("; ").toStdString();
}

TEST_F(ParGenTest, CloseButtonActsAsCancel)
{
    auto closeBox = [](TCustomForm* f) { f->Widget()->close(); };
    // Unchanged: closes at once.
    Driver->OnForm("TFParGen", closeBox, 1);
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_TRUE(Driver->Messages().empty());

    // After an edit: text 911; No keeps the form and the edit, Yes leaves
    // without writing.
    Driver->AnswerMessageBox(mrNo);
    Driver->AnswerMessageBox(mrYes);
    bool openAfterNo = false;
    QString kept;
    const QObject scope; // the check below never outlives this test
    Driver->OnForm(
        "TFParGen",
        [&](TCustomForm* f) {
            auto* form = static_cast<TFParGen*>(f);
            form->E_WebPages_User->SetText("x");
            closeBox(form);
            // Once the question has been answered No:
            QTimer::singleShot(0, &scope, [&, form] {
                openAfterNo = form->Showing() && form->ModalResult() == mrNone;
                kept = form->E_WebPages_User->Text();
                closeBox(form);
            });
        },
        1);
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_TRUE(openAfterNo);
    EXPECT_EQ(kept, "x");
    EXPECT_FALSE(QFile::exists(File_ParGen));
    ASSERT_EQ(Driver->Messages().size(), 2u);
    for (const auto& m : Driver->Messages()) {
        EXPECT_EQ(m.Text, Lang(911));
        EXPECT_EQ(m.DlgType, mtConfirmation);
        EXPECT_EQ(m.Buttons, mbYesNo);
    }
    EXPECT_TRUE(Driver->Failures().isEmpty()) << Driver->Failures().join("; ").toStdString();
}

// The caption of the hint window once the mouse rests on the control; empty
// when none shows.
QString HoverHint(TControl* c)
{
    Application->CancelHint();
    input::MouseMove(c, { 3, 3 });
    QElapsedTimer waited;
    waited.start();
    while (!(Application->HintWindow() && Application->HintWindow()->Showing()) && waited.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    const QString shown = Application->HintWindow() && Application->HintWindow()->Showing()
        ? Application->HintWindow()->Caption()
        : QString();
    Application->HintMouseMessage(nullptr);
    return shown;
}

TEST_F(ParGenTest, EveryRowShowsItsHintOnHover)
{
    const auto f = Form;
    const std::pair<TControl*, int> hints[] = {
        { f->E_EthConn_Device_Name, 921 },
        { f->CB_EthConn_En_DHCP_Cable, 923 },
        { f->CB_EthConn_Enable_DNS, 927 },
        { f->E_EthConn_Pri_DNS_IP1, 929 },
        { f->E_EthConn_Pri_DNS_IP2, 930 },
        { f->E_EthConn_Pri_DNS_IP3, 931 },
        { f->E_EthConn_Pri_DNS_IP4, 932 },
        { f->E_EthConn_Sec_DNS_IP1, 934 },
        { f->E_EthConn_Sec_DNS_IP2, 935 },
        { f->E_EthConn_Sec_DNS_IP3, 936 },
        { f->E_EthConn_Sec_DNS_IP4, 937 },
        { f->CB_HART_Master_Address, 408 },
        { f->CB_HART_Master_RetryLimit, 410 },
        { f->CB_HART_Master_Diagnostic, 979 },
        { f->E_HART_Master_Diagnostic, 980 },
        { f->CB_ModbusSlave_Baudrate, 565 },
        { f->CB_ModbusSlave_Parity, 567 },
        { f->CB_ModbusSlave_StopBits, 569 },
        { f->E_ModbusSlave_IDDevice, 571 },
        { f->CB_ModbusSlave_ReadInput, 573 },
        { f->E_Ethernet_IP1, 440 },
        { f->E_Ethernet_IP2, 441 },
        { f->E_Ethernet_IP3, 442 },
        { f->E_Ethernet_IP4, 443 },
        { f->E_Ethernet_SM1, 445 },
        { f->E_Ethernet_SM2, 446 },
        { f->E_Ethernet_SM3, 447 },
        { f->E_Ethernet_SM4, 448 },
        { f->CB_Ethernet_En_GAT, 450 },
        { f->E_Ethernet_GAT1, 451 },
        { f->E_Ethernet_GAT2, 452 },
        { f->E_Ethernet_GAT3, 453 },
        { f->E_Ethernet_GAT4, 454 },
        { f->E_WebPages_User, 915 },
        { f->E_WebPages_Password, 917 },
        { f->Btn_OK, 404 },
        { f->Btn_Cancel, 405 },
    };
    const int pause = Application->HintPause();
    Application->SetHintPause(1);
    Form->Show();
    for (const auto& [control, text] : hints) {
        SCOPED_TRACE(text);
        ASSERT_FALSE(Lang(text).isEmpty());
        EXPECT_EQ(HoverHint(control), Lang(text));
    }
    // The Wi-Fi box is always disabled; it carries its text all the same.
    EXPECT_EQ(Form->CB_EthConn_En_DHCP_WiFi->Hint(), Lang(925));

    // In the current language.
    LanguageTable[921] = "Name des Geräts im Netz";
    LanguageTable[408] = "Adresse des Masters";
    Form->Set_Lang();
    EXPECT_EQ(HoverHint(Form->E_EthConn_Device_Name), "Name des Geräts im Netz");
    EXPECT_EQ(HoverHint(Form->CB_HART_Master_Address), "Adresse des Masters");
    Application->SetHintPause(pause);
    delete Application->HintWindow(); // the application lets go of it
}

TEST_F(ParGenTest, TabBringsEachFieldIntoView)
{
    Form->Show();
    Form->CPG->Perform(WM_VSCROLL, SB_TOP);
    Form->E_EthConn_Device_Name->SetFocus();
    const TRect view = Form->CPG->ClientRect();
    auto inView = [&](const TControl* c) {
        TRect b = c->BoundsRect();
        for (const TWinControl* p = c->Parent(); p && p != Form->CPG; p = p->Parent())
            OffsetRect(b, p->Left(), p->Top());
        return b.Top >= 0 && b.Bottom <= view.Height();
    };
    bool reachedPassword = false;
    for (int i = 0; i < 80 && !reachedPassword; ++i) {
        auto* from = Form->FocusedControl();
        ASSERT_NE(from, nullptr);
        input::Key(from, VK_TAB);
        TWinControl* now = Form->FocusedControl();
        ASSERT_NE(now, nullptr);
        if (Form->CPG->ContainsControl(now)) {
            EXPECT_TRUE(inView(now)) << now->Name().toStdString() << " after " << i + 1 << " Tabs";
        }
        reachedPassword = now == Form->E_WebPages_Password;
    }
    ASSERT_TRUE(reachedPassword);
    ASSERT_GT(Form->CPG->VertScrollBar()->Position(), 0);
    // Typing lands in the field the user sees.
    input::Type(Form->E_WebPages_Password, "pw");
    EXPECT_EQ(Form->E_WebPages_Password->Text(), "pw");
}

TEST_F(ParGenTest, LanguageSwitchKeepsThePanelCaptionsOfTheStart)
{
    LanguageTable[400] = "Kommunikation";
    LanguageTable[919] = "Ethernet-Verbindung";
    LanguageTable[920] = "Gerätename";
    LanguageTable[923] = "DHCP über Kabel";
    LanguageTable[402] = "Bestätigen";
    Form->Set_Lang();
    EXPECT_EQ(Form->Caption(), "Kommunikation");
    EXPECT_EQ(Form->L_EthConn_Device_Name->Caption(), "Gerätename");
    EXPECT_EQ(Form->CB_EthConn_En_DHCP_Cable->Hint(), "DHCP über Kabel");
    EXPECT_EQ(Form->Btn_OK->Caption(), "Bestätigen");
    EXPECT_EQ(Form->CP_Ethernet_Connection->Caption(), "1. Ethernet Connection");
    // Texts follow rows: a check box's caption and hint, then its edit's hint.
    EXPECT_EQ(Form->CB_HART_Master_Diagnostic->Caption(), Lang(978));
    EXPECT_EQ(Form->E_HART_Master_Diagnostic->Hint(), Lang(980));
    EXPECT_EQ(Form->E_Ethernet_GAT4->Hint(), "Insert Fourth byte of Default Gateway");
}

TEST_F(ParGenTest, WidthSnapsBackTo460)
{
    Form->Show();
    Form->SetClientWidth(600);
    EXPECT_EQ(Form->ClientWidth(), 460);
    Form->SetWidth(200);
    EXPECT_EQ(Form->ClientWidth(), 460);
    Form->SetClientHeight(500); // the height is the user's
    EXPECT_EQ(Form->ClientHeight(), 500);
}

TEST_F(ParGenTest, WheelScrollsThePanelGroupOnlyOverIt)
{
    Form->Show();
    TControlScrollBar* bar = Form->CPG->VertScrollBar();
    ASSERT_GT(bar->MaxPosition(), 0);
    bool handled = true;
    for (TPanel* outside : { Form->P_Title, Form->P_Button }) {
        handled = true;
        Form->FormMouseWheel(Form, {}, -WHEEL_DELTA, outside->ClientToScreen({ 20, 20 }), handled);
        EXPECT_FALSE(handled);
        EXPECT_EQ(bar->Position(), 0);
    }

    const TPoint over = Form->CPG->ClientToScreen({ 100, 100 });
    Form->FormMouseWheel(Form, {}, -WHEEL_DELTA, over, handled);
    EXPECT_TRUE(handled);
    const int down = bar->Position();
    EXPECT_EQ(down, 3 * bar->Increment());
    Form->FormMouseWheel(Form, {}, WHEEL_DELTA, over, handled);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(Form->CP_Ethernet_Connection->Top(), 0);

    // A real turn with the focus on OK goes up to the form, which scrolls the
    // group only when the mouse is over it.
    Form->Btn_OK->SetFocus();
    input::Wheel(Form->P_Title, { 20, 20 }, -1);
    EXPECT_EQ(bar->Position(), 0);
    input::Wheel(Form->CPG, { 100, 100 }, -1);
    EXPECT_EQ(bar->Position(), down);
    EXPECT_EQ(Form->CP_Ethernet_Connection->Top(), -down);

    // A notch scrolls as many lines as the desktop is set to.
    ASSERT_GT(bar->MaxPosition(), down + 5 * bar->Increment());
    const int saved = QGuiApplication::styleHints()->wheelScrollLines();
    QGuiApplication::styleHints()->setWheelScrollLines(5);
    Form->FormMouseWheel(Form, {}, -WHEEL_DELTA, over, handled);
    QGuiApplication::styleHints()->setWheelScrollLines(saved);
    EXPECT_EQ(bar->Position(), down + 5 * bar->Increment());
}

} // namespace
