// A module the table does not know.
#include "util/random.h"
