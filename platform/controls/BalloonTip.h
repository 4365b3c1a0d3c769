#pragma once
// A balloon tool tip: a top-level helper window, never activated, that shows
// a title with an icon over a text wrapped at a maximum width, with a stem
// pointing at the place it was shown for. It serves one control (its tool):
// resting the mouse on the tool shows it after the initial delay, moving off
// the tool, pressing a button or the auto-hide delay hides it. Just before it
// shows it asks the tool for its text (WM_NOTIFY, TTN_GETDISPINFO); the tool
// may set the title, icon and colours then. An empty text shows nothing.

#include "platform/controls/Controls.h"
#include "platform/controls/HelperWindows.h"

#include <QString>
#include <memory>
#include <vector>

class TBalloonTipWatcher;

// The title's icon; numbered as the platform's balloon icons.
enum TBalloonTipIcon { btiNone, btiInfo, btiWarning, btiError };
enum class TTipDelay { tdInitial, tdReshow, tdAutoPop };

class TBalloonTip : public TTopLevelWindow<TCustomControl> {
public:
    explicit TBalloonTip(TComponent* AOwner);
    ~TBalloonTip() override;
    QString ClassName() const override { return QStringLiteral("TBalloonTip"); }

    // The control whose client area the tip serves (none: the tip only shows
    // through Popup).
    TWinControl* Tool() const;
    void SetTool(TWinControl* Value);

    QString Title() const { return FTitle; }
    TBalloonTipIcon TitleIcon() const { return FIcon; }
    // An icon number other than 0 to 3 shows none.
    void SetTitle(const QString& Value, int Icon);
    QString TipText() const { return FText; }
    // Pixels at which the text wraps; -1: one line per line of the text.
    int MaxTipWidth() const { return FMaxWidth; }
    void SetMaxTipWidth(int Value);
    // clNone: the info colours.
    TColor TipBkColor() const { return FBkColor; }
    void SetTipBkColor(TColor Value);
    TColor TipTextColor() const { return FTextColor; }
    void SetTipTextColor(TColor Value);
    // Milliseconds; -1 goes back to the default (500, 100 and 5000).
    int Delay(TTipDelay Which) const;
    void SetDelay(TTipDelay Which, int Milliseconds);

    // Asks the tool for the text and shows the tip with its stem at the
    // screen point; false, and nothing shown, when the text is empty.
    bool Popup(TPoint ScreenPos);
    // Hides a shown tip; the tool hears TTN_POP first.
    void Pop();
    // Shows Text at once with its stem at the screen point, for a control
    // that does not answer for the text itself (an edit's balloon): the tip
    // serves no tool and hides at At's next key, click, wheel or focus loss.
    void ShowText(TWinControl* At, TPoint ScreenPos, const QString& Text);
    bool Active() const { return FActive; }
    // The screen point the stem points at.
    TPoint Anchor() const { return FAnchor; }
    // The rounded body in window coordinates (below it the stem's room).
    TRect BodyRect() const { return FBody; }
    // The text's rectangle in window coordinates.
    TRect TextRect() const { return FTextRect; }

    static constexpr int StemHeight = 12;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    friend class TBalloonTipWatcher;
    // Sizes the window for the title and text, and its shape.
    void Layout();
    std::vector<TPoint> Outline() const;
    void ToolMouseMoved(TPoint ScreenPos);
    void ToolLeft();
    bool Notify(int Code, QString* Text);

    std::uint64_t FToolSerial = 0;
    std::unique_ptr<TBalloonTipWatcher> FWatcher;
    QString FTitle;
    TBalloonTipIcon FIcon = btiNone;
    QString FText;
    int FMaxWidth = -1;
    TColor FBkColor = clNone;
    TColor FTextColor = clNone;
    int FDelays[3] = { -1, -1, -1 };
    bool FActive = false;
    // Shown once since the mouse came onto the tool: the next show waits the
    // reshow delay.
    bool FShownOnTool = false;
    // Shown by ShowText: the watched control's mouse does not show it again.
    bool FTextOnly = false;
    TPoint FAnchor;
    TPoint FLastMouse;
    TRect FBody;
    TRect FTextRect;
    TRect FTitleRect;
};
