#include "platform/controls/WindowProc.h"

#include "platform/controls/Controls.h"

#include <unordered_map>

namespace {

// Few controls are ever subclassed at once; an empty table costs Perform one test.
std::unordered_map<const TControl*, TWndMethod>& Replacements()
{
    static std::unordered_map<const TControl*, TWndMethod> table;
    return table;
}

} // namespace

TWndMethod GetWindowProc(TControl* Control)
{
    if (!Control)
        return {};
    const auto it = Replacements().find(Control);
    if (it != Replacements().end())
        return it->second;
    return [Control](TMessage& Message) { Control->WndProc(Message); };
}

void SetWindowProc(TControl* Control, TWndMethod Proc)
{
    if (!Control)
        return;
    if (Proc)
        Replacements()[Control] = std::move(Proc);
    else
        Replacements().erase(Control);
}

bool HasWindowProcReplacement(const TControl* Control)
{
    return Replacements().contains(Control);
}

bool CallWindowProcReplacement(TControl* Control, TMessage& Message)
{
    auto& table = Replacements();
    if (table.empty())
        return false;
    const auto it = table.find(Control);
    if (it == table.end())
        return false;
    // A copy: the procedure may put the original back while it runs.
    const TWndMethod proc = it->second;
    proc(Message);
    return true;
}

void ForgetWindowProcReplacement(const TControl* Control)
{
    if (!Replacements().empty())
        Replacements().erase(Control);
}
