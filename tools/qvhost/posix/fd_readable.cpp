#include <poll.h>

#include "tools/qvhost/clap/clap_host.h"

bool FdReadable(int fd) {
  pollfd watched{fd, POLLIN, 0};
  return poll(&watched, 1, 0) > 0 && (watched.revents & POLLIN) != 0;
}
