#include "tools/quorvane/channel_pairs.h"

std::vector<ChannelGroup> PairChannels(int channels) {
  std::vector<ChannelGroup> groups;
  for (int first = 0; first < channels; first += 2) {
    groups.push_back({first, channels - first >= 2 ? 2 : 1});
  }
  return groups;
}
