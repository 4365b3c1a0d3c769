#include "platform/controls/ThemeChange.h"

#include <QApplication>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "platform/controls/Controls.h"

namespace {

void Collect(TControl* c, std::vector<std::uint64_t>& out)
{
    out.push_back(ControlSerial(c));
    if (auto* w = dynamic_cast<TWinControl*>(c))
        for (int i = 0; i < w->ControlCount(); ++i)
            Collect(w->Controls(i), out);
}

} // namespace

void NotifyThemeChanged()
{
    std::vector<std::uint64_t> serials;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (TWinControl* c = FindControlOfWidget(top); c && !c->Parent())
            Collect(c, serials);
    for (const UINT msg : { WM_THEMECHANGED, CM_SYSFONTCHANGED })
        for (const std::uint64_t s : serials)
            if (TControl* c = FindControlBySerial(s))
                c->Perform(msg, 0, 0);
}
