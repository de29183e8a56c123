#include "logdata/text.h"
