// The synthesizer driver on Windows: engines of the version 4 speech
// interface, found through its enumerator, playing through the multimedia
// audio destination.
#pragma once

#include "platform/backend.h"

const OsSynthDriver* sapi4_synth_driver();
