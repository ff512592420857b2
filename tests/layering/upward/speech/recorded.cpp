// Downwards only.
#include "platform/os.h"
#include "util/random.h"
#include "wave_image.h"
