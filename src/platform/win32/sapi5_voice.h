// The speech-server driver on Windows: the version 5 speech interface's
// system voice class (module "") and the second voice class (any other
// module), one voice object per connection.
#pragma once

#include "platform/backend.h"

const OsVoiceServerDriver* sapi5_voice_driver();
