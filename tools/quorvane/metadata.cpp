#include "tools/quorvane/metadata.h"

#include <cstring>

namespace {

constexpr struct {
  int id;
  const char* name;
} kStrings[] = {
    {SF_STR_TITLE, "title"},     {SF_STR_COPYRIGHT, "copyright"}, {SF_STR_SOFTWARE, "software"},
    {SF_STR_ARTIST, "artist"},   {SF_STR_COMMENT, "comment"},     {SF_STR_DATE, "date"},
    {SF_STR_ALBUM, "album"},     {SF_STR_LICENSE, "licence"},     {SF_STR_TRACKNUMBER, "track number"},
    {SF_STR_GENRE, "genre"},
};

const char* StringName(int id) {
  for (const auto& s : kStrings) {
    if (s.id == id) return s.name;
  }
  return "tag";
}

// The layout FLAC gives a channel count, in libsndfile's names (the order of
// WAVE_FORMAT_EXTENSIBLE's masks 0x4, 0x3, 0x7, 0x33, 0x37, 0x3f, 0x70f and
// 0x63f); none beyond eight channels.
std::vector<int> FlacLayout(size_t channels) {
  enum : int {
    L = SF_CHANNEL_MAP_FRONT_LEFT,
    R = SF_CHANNEL_MAP_FRONT_RIGHT,
    C = SF_CHANNEL_MAP_FRONT_CENTER,
    LFE = SF_CHANNEL_MAP_LFE,
    BL = SF_CHANNEL_MAP_REAR_LEFT,
    BR = SF_CHANNEL_MAP_REAR_RIGHT,
    BC = SF_CHANNEL_MAP_REAR_CENTER,
    SL = SF_CHANNEL_MAP_SIDE_LEFT,
    SR = SF_CHANNEL_MAP_SIDE_RIGHT,
  };
  switch (channels) {
    case 1: return {C};
    case 2: return {L, R};
    case 3: return {L, R, C};
    case 4: return {L, R, BL, BR};
    case 5: return {L, R, C, BL, BR};
    case 6: return {L, R, C, LFE, BL, BR};
    case 7: return {L, R, C, LFE, BC, SL, SR};
    case 8: return {L, R, C, LFE, BL, BR, SL, SR};
    default: return {};
  }
}

}  // namespace

FileMetadata ReadMetadata(SNDFILE* file) {
  FileMetadata metadata;
  for (const auto& s : kStrings) {
    const char* text = sf_get_string(file, s.id);
    if (text != nullptr && text[0] != '\0') metadata.strings.emplace_back(s.id, text);
  }
  metadata.hasBroadcast = sf_command(file, SFC_GET_BROADCAST_INFO, &metadata.broadcast,
                                     sizeof metadata.broadcast) == SF_TRUE;
  uint32_t cueCount = 0;
  if (sf_command(file, SFC_GET_CUE_COUNT, &cueCount, sizeof cueCount) == SF_TRUE && cueCount > 0) {
    metadata.hasCues =
        sf_command(file, SFC_GET_CUE, &metadata.cues, sizeof metadata.cues) == SF_TRUE;
  }
  metadata.hasInstrument = sf_command(file, SFC_GET_INSTRUMENT, &metadata.instrument,
                                      sizeof metadata.instrument) == SF_TRUE;
  SF_INFO info{};
  sf_command(file, SFC_GET_CURRENT_SF_INFO, &info, sizeof info);
  if (info.channels > 0) {
    std::vector<int> map(static_cast<size_t>(info.channels));
    if (sf_command(file, SFC_GET_CHANNEL_MAP_INFO, map.data(),
                   static_cast<int>(map.size() * sizeof(int))) == SF_TRUE) {
      metadata.channelMap = map;
    }
  }
  return metadata;
}

bool MapNeedsSaying(const std::vector<int>& map) {
  if (map.empty()) return false;
  if (map.size() == 1) return map[0] != SF_CHANNEL_MAP_MONO;
  if (map.size() == 2) {
    const bool leftRight = (map[0] == SF_CHANNEL_MAP_LEFT || map[0] == SF_CHANNEL_MAP_FRONT_LEFT) &&
                           (map[1] == SF_CHANNEL_MAP_RIGHT || map[1] == SF_CHANNEL_MAP_FRONT_RIGHT);
    return !leftRight;
  }
  return true;
}

std::string CodingHistoryLine(int rate, int bits, int channels, const std::string& settings) {
  const char* mode = channels == 1 ? "mono" : channels == 2 ? "stereo" : "multichannel";
  // libsndfile then adds a line of its own, for the file it writes.
  return "A=PCM,F=" + std::to_string(rate) + ",W=" + std::to_string(bits) + ",M=" + mode +
         ",T=quorvane 1.0: " + settings + "\r\n";
}

void WriteMetadata(SNDFILE* file, const FileMetadata& metadata, const std::string& historyLine) {
  for (const auto& s : metadata.strings) sf_set_string(file, s.first, s.second.c_str());
  if (metadata.hasBroadcast) {
    BroadcastInfo broadcast = metadata.broadcast;
    // The line goes after the history already there, on a line of its own,
    // when it fits.
    size_t used = strnlen(broadcast.coding_history, sizeof broadcast.coding_history);
    std::string line = historyLine;
    if (used > 0 && broadcast.coding_history[used - 1] != '\n') line = "\r\n" + line;
    if (used + line.size() < sizeof broadcast.coding_history) {
      std::memcpy(broadcast.coding_history + used, line.data(), line.size());
      used += line.size();
      broadcast.coding_history[used] = '\0';
    }
    broadcast.coding_history_size = static_cast<uint32_t>(used);
    sf_command(file, SFC_SET_BROADCAST_INFO, &broadcast, sizeof broadcast);
  }
  if (metadata.hasCues) {
    CuePoints cues = metadata.cues;
    sf_command(file, SFC_SET_CUE, &cues, sizeof cues);
  }
  if (metadata.hasInstrument) {
    SF_INSTRUMENT instrument = metadata.instrument;
    sf_command(file, SFC_SET_INSTRUMENT, &instrument, sizeof instrument);
  }
  if (MapNeedsSaying(metadata.channelMap)) {
    std::vector<int> map = metadata.channelMap;
    sf_command(file, SFC_SET_CHANNEL_MAP_INFO, map.data(),
               static_cast<int>(map.size() * sizeof(int)));
  }
}

std::vector<std::string> NotKept(const FileMetadata& wanted, const FileMetadata& written,
                                 int major) {
  std::vector<std::string> missing;
  for (const auto& s : wanted.strings) {
    bool found = false;
    for (const auto& w : written.strings) found = found || w.first == s.first;
    if (!found) missing.push_back(StringName(s.first));
  }
  if (wanted.hasBroadcast && !written.hasBroadcast) missing.push_back("broadcast extension (bext)");
  if (wanted.hasCues && (!written.hasCues || written.cues.cue_count != wanted.cues.cue_count))
    missing.push_back("cue points");
  if (wanted.hasInstrument && !written.hasInstrument) missing.push_back("instrument and loops");
  if (MapNeedsSaying(wanted.channelMap) && written.channelMap != wanted.channelMap &&
      !(major == SF_FORMAT_FLAC && wanted.channelMap == FlacLayout(wanted.channelMap.size()))) {
    missing.push_back("channel layout");
  }
  return missing;
}
