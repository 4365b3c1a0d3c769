#include "platform/graphics/PlatformInfo.h"

TPlatformInfo& PlatformInfo()
{
    static TPlatformInfo info;
    return info;
}
