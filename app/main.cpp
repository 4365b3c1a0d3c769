// Program entry of the configurator: its whole run (Run_Morvantile_HART),
// which the start-up benchmark runs too.
#include <cstdlib>

#include "app/core/UMorvantinoFirmWare.h"
#include "app/tables/UMorvantile_HART.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Messages.h"

#if defined(__SANITIZE_ADDRESS__)
#define MORV_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MORV_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef MORV_ADDRESS_SANITIZER
// Memory the desktop's own libraries keep until exit (the session bus, the
// font configuration) is no leak of ours: a checked build reports only the
// program's leaks when it closes.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus\nleak:libfontconfig\nleak:libglib\n";
}

extern "C" const char* __lsan_default_options()
{
    return "print_suppressions=0";
}
#endif

int main(int argc, char** argv)
{
    return Run_Morvantile_HART(argc, argv, []() {
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
