// A core header that breaks the layering (fixture of the layering test).
#pragma once

#include "core/value.h"
#include "eval/errors.h"
