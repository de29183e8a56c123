#include "cli/exit_codes.h"
