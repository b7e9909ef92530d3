#pragma once

// The one door to libmdb. glib must come first: mdbtools.h uses its types without
// including it in every configuration. No other file includes mdbtools.h.
#include <glib.h>
#include <mdbtools.h>
