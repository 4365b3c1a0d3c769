#include "platform/runtime/Exceptions.h"
