#include "toolkit/desktop.h"

Desktop desktop;
StyleTable styleTable;
