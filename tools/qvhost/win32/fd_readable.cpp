#include "tools/qvhost/clap/clap_host.h"

// Windows hosts deliver a window's messages through their message loop.
bool FdReadable(int) { return false; }
