#include <queue>

#include "logdata/text.h"
#include "platform/system_error.h"
