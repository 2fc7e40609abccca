#include "Ovstrings.h"
