#pragma once
// The converters the builder uses: the project's RTF writer and its SVG to WMF conversion.
#include "converters.h"

namespace vl::build {

Converters standardConverters();

}  // namespace vl::build
