// Compiles only if the fence around the probed folder has a gap.
#include FORBIDDEN
