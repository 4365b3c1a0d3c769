// The configurator's own start-up, the very run its program entry runs (the
// grids' state, every form created in the start-up order, then the main
// window shown); ends after its first paint.
#include "FirstPaint.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "app/tables/UMorvantile_HART.h"

namespace {
int CountButtons(const TWinControl* c)
{
    int n = 0;
    for (int i = 0; i < c->ControlCount(); ++i) {
        const TControl* child = c->Controls(i);
        if (child->ClassName().contains(QStringLiteral("Button")))
            ++n;
        if (const auto* wc = dynamic_cast<const TWinControl*>(child))
            n += CountButtons(wc);
    }
    return n;
}
} // namespace

int main(int argc, char** argv)
{
    QuietOffscreen();
    return Run_Morvantile_HART(
        argc, argv, [] { new TExitOnFirstPaint(FMorvantinoFirmWare->Widget(), CountButtons(FMorvantinoFirmWare)); });
}
