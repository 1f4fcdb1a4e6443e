// Leaves nothing behind when the process is interrupted: temporary outputs
// are registered while they exist, and a signal handler removes them before
// the process ends.
#pragma once

// Installs handlers for SIGINT, SIGTERM and SIGHUP that remove every
// registered file and end the process with status 128 + signal. Also ignores
// SIGXFSZ, so that a file-size limit shows as a failed write (EFBIG) instead
// of killing the process with the partial file in place. Call once, first.
void InstallInterruptCleanup();

// A file for the handlers to remove; returns a slot for Forget, or -1 when
// every slot is taken (the caller then refuses to create the file).
[[nodiscard]] int RememberTemporary(const char* path);
// The file is gone or renamed: the handlers leave it alone.
void ForgetTemporary(int slot);
