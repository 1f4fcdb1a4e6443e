// Processor time used by this process: on a machine shared with other work,
// a rate measured against it varies far less than one against the wall clock.
#pragma once

// User and system time of the whole process so far, in seconds.
double ProcessCpuSeconds();
