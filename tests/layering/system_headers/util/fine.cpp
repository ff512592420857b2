// Standard headers and our own are fine anywhere.
#include "fine.h"

#include <chrono>
