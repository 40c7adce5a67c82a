#include "data/SonvexVersion.h"
