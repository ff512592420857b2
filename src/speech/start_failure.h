// The screen shown when the own synthesizer cannot start.
#pragma once

// Shows the failure code, the voice database and what was missing (also on
// standard error), waits for a line to be typed, then closes the console and
// ends the program.
void speech_start_failure(int code);
