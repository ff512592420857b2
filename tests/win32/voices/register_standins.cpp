// Registers the stand-in speech engines beside it as the prefix's COM
// servers, for the games that run through them.
#include "standin_registry.h"

int main() { return standin_register_all() ? 0 : 1; }
