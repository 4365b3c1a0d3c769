#pragma once
// Small controls for the core control tests: a self-painting probe that logs
// what reaches it, and a windowed control wrapping a Qt line edit.

#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <ostream>

#include "platform/controls/Controls.h"
#include "platform/controls/Forms.h"

// Logs messages and events as short strings: "down:65", "char:97", "up:65",
// "mdown:L", "click", ...
class TProbe : public TCustomControl {
public:
    explicit TProbe(TComponent* owner, TWinControl* parent = nullptr, LRESULT dlgCode = 0)
        : TCustomControl(owner)
        , DlgCode(dlgCode)
    {
        SetBounds(0, 0, 50, 20);
        SetTabStop(true);
        if (parent)
            SetParent(parent);
        OnKeyDown = [this](TObject*, WORD& key, TShiftState s) {
            Log << QStringLiteral("down:%1%2").arg(key).arg(s.testFlag(ssCtrl) ? "^" : "");
            if (ConsumeKeyDown)
                key = 0;
        };
        OnKeyPress = [this](TObject*, char16_t& key) {
            Log << QStringLiteral("char:%1%2").arg(int(key)).arg(LastCharKeypad ? "k" : "");
            if (ReplaceChar)
                key = ReplaceChar;
        };
        OnKeyUp = [this](TObject*, WORD& key, TShiftState) { Log << QStringLiteral("up:%1").arg(key); };
        OnMouseDown = [this](TObject*, TMouseButton b, TShiftState s, int x, int y) {
            Log << QStringLiteral("mdown:%1%2@%3,%4")
                       .arg(b == mbLeft       ? "L"
                               : b == mbRight ? "R"
                                              : "M")
                       .arg(s.testFlag(ssDouble) ? "2" : "")
                       .arg(x)
                       .arg(y);
        };
        OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int x, int y) {
            Log << QStringLiteral("mup:%1@%2,%3").arg(b == mbLeft ? "L" : b == mbRight ? "R" : "M").arg(x).arg(y);
        };
        OnMouseMove
            = [this](TObject*, TShiftState, int x, int y) { Log << QStringLiteral("move@%1,%2").arg(x).arg(y); };
        OnClick = [this](TObject*) { Log << QStringLiteral("click"); };
        OnDblClick = [this](TObject*) { Log << QStringLiteral("dblclick"); };
        OnMouseEnter = [this](TObject*) { Log << QStringLiteral("enter"); };
        OnMouseLeave = [this](TObject*) { Log << QStringLiteral("leave"); };
        OnEnter = [this](TObject*) {
            if (LogFocus)
                Log << QStringLiteral("onenter");
        };
        OnExit = [this](TObject*) {
            if (LogFocus)
                Log << QStringLiteral("onexit");
        };
    }
    QString ClassName() const override { return QStringLiteral("TProbe"); }

    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_GETDLGCODE) {
            m.Result = DlgCode;
            return;
        }
        if (m.Msg == WM_CHAR)
            LastCharKeypad = IsKeypadDecimalKeyData(m.LParam);
        if (m.Msg == CM_DIALOGKEY && HandleDialogKey == static_cast<WORD>(m.WParam)) {
            Log << QStringLiteral("dialogkey:%1").arg(m.WParam);
            m.Result = 1;
            return;
        }
        if (m.Msg == CM_DIALOGCHAR && HandleDialogChar != 0
            && QChar(char16_t(m.WParam)).toLower() == QChar(HandleDialogChar)) {
            Log << QStringLiteral("dialogchar:%1").arg(QChar(char16_t(m.WParam)));
            m.Result = 1;
            return;
        }
        if (m.Msg == WM_TIMER)
            Log << QStringLiteral("timer:%1").arg(m.WParam);
        if (m.Msg >= WM_USER && m.Msg < 0x8000)
            Log << QStringLiteral("user:%1:%2").arg(m.Msg - WM_USER).arg(m.WParam);
        TCustomControl::WndProc(m);
    }

    QStringList Log;
    LRESULT DlgCode = 0;
    bool LogFocus = false;
    bool ConsumeKeyDown = false;
    char16_t ReplaceChar = 0;
    bool LastCharKeypad = false;
    WORD HandleDialogKey = 0;
    char16_t HandleDialogChar = 0;
    TColor PaintColor = clNone;

protected:
    void Paint() override
    {
        if (PaintColor == clNone)
            return;
        Canvas()->Brush()->SetColor(PaintColor);
        Canvas()->FillRect(ClientRect());
    }
};

// A windowed control around a Qt line edit: the Qt widget does its own
// editing, the toolkit's events come from the translation.
class TLineEditProbe : public TWinControl {
public:
    explicit TLineEditProbe(TComponent* owner, TWinControl* parent = nullptr)
        : TWinControl(owner)
    {
        SetBounds(0, 0, 80, 22);
        SetTabStop(true);
        if (parent)
            SetParent(parent);
    }
    QString ClassName() const override { return QStringLiteral("TLineEditProbe"); }
    QLineEdit* Edit() { return static_cast<QLineEdit*>(Widget()); }
    QString GetText() const override
    {
        auto* e = static_cast<QLineEdit*>(const_cast<TLineEditProbe*>(this)->Widget());
        return e->text();
    }

protected:
    QWidget* CreateWidget() override { return new QLineEdit(); }
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_GETDLGCODE) {
            m.Result = DLGC_WANTCHARS | DLGC_WANTARROWS;
            return;
        }
        TWinControl::WndProc(m);
    }
};

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << '{' << l.join(", ").toStdString() << '}';
}

// A form shown offscreen for one test, freed at the end.
struct ShownForm {
    TForm* Form;
    explicit ShownForm(int w = 300, int h = 200)
    {
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, w, h);
        Form->Show();
    }
    ~ShownForm() { delete Form; }
    TForm* operator->() const { return Form; }
};
