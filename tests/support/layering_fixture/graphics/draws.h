// Lisp-side code that includes a host library (fixture of the layering test).
#pragma once

#include <SDL.h>
#include "platform/raster/region.h"
#include "platform/shows_pixman.h"
