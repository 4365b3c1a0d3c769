// Program entry of the configurator: the application object, every form
// created once in the start-up order, then the message loop until the main
// window closes.
#include <cstdlib>

#include "app/core/UMorvantinoFirmWare.h"
#include "app/tables/UMorvantile_HART.h"
#include "platform/controls/Bootstrap.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Messages.h"

int main(int argc, char** argv)
{
    return RunApplication(argc, argv, []() {
        Create_Forms();
        // Smoke runs without a display close the window (and so write the
        // settings) after the given number of milliseconds.
        if (const char* ms = std::getenv("MORV_CLOSE_AFTER_MS"); ms && FMorvantinoFirmWare) {
            auto* closer = new TTimer(FMorvantinoFirmWare);
            closer->SetInterval(static_cast<unsigned>(std::strtoul(ms, nullptr, 10)));
            closer->OnTimer = [](TObject* Sender) {
                static_cast<TTimer*>(Sender)->SetEnabled(false);
                if (FMorvantinoFirmWare)
                    FMorvantinoFirmWare->Close();
            };
        }
    });
}
