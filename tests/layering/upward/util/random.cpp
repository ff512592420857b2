// An include that runs upwards: the checker must refuse it.
#include "speech/speech.h"
#include "util/random.h"
