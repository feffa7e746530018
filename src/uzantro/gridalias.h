// The sheet grid type. The column grid (cell parameters) when it is built, else its base.
#pragma once
#if __has_include("strcgrid/strcolgrid.h")
#include "strcgrid/strcolgrid.h"
#define ZANTRO_HAVE_STRCOLGRID 1
#else
#include "strcgrid/stringgrid.h"
namespace zantro {
using TStrColGrid = TStringGrid;
}
#endif
