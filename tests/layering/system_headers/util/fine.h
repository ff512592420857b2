// Standard headers and our own are fine anywhere.
#pragma once

#include <cstdint>
#include <string>
