// A platform header that shows a host library (fixture of the layering test).
#pragma once

#include <pixman.h>
