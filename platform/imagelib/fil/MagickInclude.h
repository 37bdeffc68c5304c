#pragma once

// Magick++ and its C headers are not clean under our warning flags.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#pragma GCC diagnostic ignored "-Wpedantic"
#include <Magick++.h>
#pragma GCC diagnostic pop
