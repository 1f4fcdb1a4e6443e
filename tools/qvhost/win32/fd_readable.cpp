#include "tools/qvhost/clap_host.h"

// Windows hosts deliver a window's messages through their message loop.
bool FdReadable(int) { return false; }
