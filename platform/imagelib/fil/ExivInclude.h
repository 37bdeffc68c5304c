#pragma once

// Exiv2 0.27 still uses std::auto_ptr; its deprecation warnings are not ours.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop
