#include "support/TestPaths.h"
