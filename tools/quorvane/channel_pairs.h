// How the channels of a file are shared among engines: each engine is the
// plug-in's stereo requantiser, so channels go in pairs (1,2), (3,4), ... and
// a last odd channel (a mono file's only one) is processed alone.
#pragma once

#include <vector>

struct ChannelGroup {
  int first;  // index of the group's first channel, from 0
  int count;  // 1 or 2
};

// The groups for a file of `channels` channels, in channel order; none for 0.
std::vector<ChannelGroup> PairChannels(int channels);
