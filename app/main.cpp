// Program entry of the configurator.
#include "platform/controls/Bootstrap.h"

int main(int argc, char** argv)
{
    return RunEmptyMainWindow(argc, argv, QStringLiteral("Modbus Slave / HART Master - Converter"));
}
