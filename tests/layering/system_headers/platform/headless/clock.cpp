// The headless backend reaching for a POSIX call.
#include <unistd.h>

#include <vector>

#include "util/fine.h"
