#pragma once

#include "resources/resource.h"

// The text of a string-table id, exactly as the resources hold it; an empty text
// for an id that has none.
const char* LoadText(int id);
