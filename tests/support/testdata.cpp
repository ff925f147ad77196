#include "support/testdata.h"
