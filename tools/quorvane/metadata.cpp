#include "tools/quorvane/metadata.h"

#include <cstdio>
#include <cstring>
#include <strings.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <memory>

#include "tools/quorvane/flac_comments.h"
#include "tools/quorvane/riff_chunks.h"
#include "tools/quorvane/tag_names.h"
#include "tools/quorvane/wav_chunks.h"

std::string WithHistoryLine(std::string history, const std::string& line) {
  if (!history.empty() && history.back() != '\n') history += "\r\n";
  return history + line;
}

namespace {

// WAVE_FORMAT_EXTENSIBLE's speaker bit for a libsndfile channel; 0 for none.
uint32_t SpeakerBit(int channel) {
  switch (channel) {
    case SF_CHANNEL_MAP_LEFT:
    case SF_CHANNEL_MAP_FRONT_LEFT: return 0x1;
    case SF_CHANNEL_MAP_RIGHT:
    case SF_CHANNEL_MAP_FRONT_RIGHT: return 0x2;
    case SF_CHANNEL_MAP_CENTER:
    case SF_CHANNEL_MAP_FRONT_CENTER: return 0x4;
    case SF_CHANNEL_MAP_LFE: return 0x8;
    case SF_CHANNEL_MAP_REAR_LEFT: return 0x10;
    case SF_CHANNEL_MAP_REAR_RIGHT: return 0x20;
    case SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER: return 0x40;
    case SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER: return 0x80;
    case SF_CHANNEL_MAP_REAR_CENTER: return 0x100;
    case SF_CHANNEL_MAP_SIDE_LEFT: return 0x200;
    case SF_CHANNEL_MAP_SIDE_RIGHT: return 0x400;
    case SF_CHANNEL_MAP_TOP_CENTER: return 0x800;
    case SF_CHANNEL_MAP_TOP_FRONT_LEFT: return 0x1000;
    case SF_CHANNEL_MAP_TOP_FRONT_CENTER: return 0x2000;
    case SF_CHANNEL_MAP_TOP_FRONT_RIGHT: return 0x4000;
    case SF_CHANNEL_MAP_TOP_REAR_LEFT: return 0x8000;
    case SF_CHANNEL_MAP_TOP_REAR_CENTER: return 0x10000;
    case SF_CHANNEL_MAP_TOP_REAR_RIGHT: return 0x20000;
    default: return 0;
  }
}

// A fixed-size text field of the broadcast extension, which need not end in
// a zero.
std::string Field(const char* text, size_t size) { return std::string(text, strnlen(text, size)); }

// The broadcast history with `line` added on a line of its own, when it fits.
std::string HistoryWith(const BroadcastInfo& broadcast, const std::string& line) {
  const std::string history = Field(broadcast.coding_history, sizeof broadcast.coding_history);
  const std::string longer = WithHistoryLine(history, line);
  return longer.size() < sizeof broadcast.coding_history ? longer : history;
}

// Every comment a FLAC output gets: a FLAC input's own, as they stand;
// otherwise the string tags, the broadcast fields under the names FFmpeg
// gives them, and the channel layout.
std::vector<std::string> FlacCommentsFor(const FileMetadata& metadata,
                                         const std::string& historyLine) {
  if (!metadata.flacComments.empty()) return metadata.flacComments;
  std::vector<std::string> comments = metadata.infoComments;
  for (const auto& s : metadata.strings) {
    for (const TagName& known : kTagNames) {
      if (known.sndfileId == s.first && metadata.infoComments.empty())
        comments.push_back(std::string(known.vorbisKey) + "=" + s.second);
    }
  }
  if (metadata.hasBroadcast) {
    const BroadcastInfo& b = metadata.broadcast;
    const std::pair<const char*, std::string> fields[] = {
        {"description", Field(b.description, sizeof b.description)},
        {"encoded_by", Field(b.originator, sizeof b.originator)},
        {"originator_reference", Field(b.originator_reference, sizeof b.originator_reference)},
        {"origination_date", Field(b.origination_date, sizeof b.origination_date)},
        {"origination_time", Field(b.origination_time, sizeof b.origination_time)},
        {"time_reference",
         std::to_string(static_cast<uint64_t>(b.time_reference_high) << 32 | b.time_reference_low)},
        {"coding_history", HistoryWith(b, historyLine)},
    };
    for (const auto& field : fields) {
      if (!field.second.empty()) comments.push_back(std::string(field.first) + "=" + field.second);
    }
  }
  if (MapNeedsSaying(metadata.channelMap)) {
    const uint32_t mask = ChannelMask(metadata.channelMap);
    char text[64];
    std::snprintf(text, sizeof text, "WAVEFORMATEXTENSIBLE_CHANNEL_MASK=0x%04X", mask);
    if (mask != 0) comments.push_back(text);
  }
  return comments;
}

const char* StringName(int id) {
  for (const TagName& s : kTagNames) {
    if (s.sndfileId == id) return s.name;
  }
  return "tag";
}

const char* VorbisKey(int id) {
  for (const TagName& s : kTagNames) {
    if (s.sndfileId == id) return s.vorbisKey;
  }
  return "";
}

// The layout FLAC gives a channel count, in libsndfile's names (the order of
// WAVE_FORMAT_EXTENSIBLE's masks 0x4, 0x3, 0x7, 0x33, 0x37, 0x3f, 0x70f and
// 0x63f); none beyond eight channels.
std::vector<int> FlacChannelLayout(size_t channels) {
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

FileMetadata ReadMetadata(SNDFILE* file, const std::string& path) {
  FileMetadata metadata;
  for (const TagName& s : kTagNames) {
    const char* text = s.sndfileId != 0 ? sf_get_string(file, s.sndfileId) : nullptr;
    if (text != nullptr && text[0] != '\0') metadata.strings.emplace_back(s.sndfileId, text);
  }
  SF_INFO info{};
  sf_command(file, SFC_GET_CURRENT_SF_INFO, &info, sizeof info);
  const int major = info.format & SF_FORMAT_TYPEMASK;
  // What libsndfile does not read is read from the file itself, which a
  // stream (a pipe) cannot give twice: only from a regular file.
  struct stat status;
  const bool regular = stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
  if (regular && major == SF_FORMAT_FLAC) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor >= 0) {
      metadata.flacComments =
          ReadFlacComments(descriptor, WalkFlacBlocks(descriptor, status.st_size));
      close(descriptor);
    }
  }
  // A WAV's track number (IPRT, as FFmpeg writes it, or ITRK), which
  // libsndfile does not read.
  if (regular && (major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX || major == SF_FORMAT_RF64) &&
      sf_get_string(file, SF_STR_TRACKNUMBER) == nullptr) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor >= 0) {
      std::vector<std::string> unread;
      const RiffLayout layout = WalkRiffChunks(descriptor, status.st_size);
      for (const auto& field : InfoFields(layout, descriptor, unread)) {
        if ((field.first == "IPRT" || field.first == "ITRK") && !field.second.empty()) {
          metadata.strings.emplace_back(SF_STR_TRACKNUMBER, field.second);
          break;
        }
      }
      close(descriptor);
    }
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
  if (info.channels > 0) {
    std::vector<int> map(static_cast<size_t>(info.channels));
    if (sf_command(file, SFC_GET_CHANNEL_MAP_INFO, map.data(),
                   static_cast<int>(map.size() * sizeof(int))) == SF_TRUE) {
      metadata.channelMap = map;
    }
  }
  return metadata;
}

uint32_t ChannelMask(const std::vector<int>& map) {
  uint32_t mask = 0;
  for (int channel : map) mask |= SpeakerBit(channel);
  return mask;
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
  SF_INFO info{};
  sf_command(file, SFC_GET_CURRENT_SF_INFO, &info, sizeof info);
  // A FLAC file's metadata blocks are written around libsndfile's audio
  // once it is closed.
  if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_FLAC) return;
  for (const auto& s : metadata.strings) sf_set_string(file, s.first, s.second.c_str());
  if (metadata.hasBroadcast) {
    // The line goes after the history already there, on a line of its own,
    // when it fits.
    auto broadcast = std::make_unique<BroadcastInfo>(metadata.broadcast);
    const std::string history = HistoryWith(metadata.broadcast, historyLine);
    std::memcpy(broadcast->coding_history, history.c_str(), history.size() + 1);
    broadcast->coding_history_size = static_cast<uint32_t>(history.size());
    sf_command(file, SFC_SET_BROADCAST_INFO, broadcast.get(), sizeof *broadcast);
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

std::string FlacCommentsBody(const FileMetadata& metadata, const std::string& historyLine) {
  const std::vector<std::string> comments = FlacCommentsFor(metadata, historyLine);
  return comments.empty() ? std::string() : VorbisCommentBody(comments);
}

std::vector<std::string> CommentsLeftBehind(const FileMetadata& metadata) {
  std::vector<std::string> names;
  for (const std::string& comment : metadata.flacComments) {
    const std::string key = comment.substr(0, comment.find('='));
    bool tag = false;
    for (const TagName& s : kTagNames) {
      tag = tag || (s.sndfileId != 0 && strcasecmp(key.c_str(), s.vorbisKey) == 0);
    }
    if (!tag) names.push_back(key + " (a comment the format has no tag for)");
  }
  return names;
}

std::vector<std::string> NotKept(const FileMetadata& wanted, const FileMetadata& written,
                                 int major) {
  std::vector<std::string> missing;
  for (const auto& s : wanted.strings) {
    bool found = false;
    for (const auto& w : written.strings) found = found || w.first == s.first;
    // A FLAC file may hold it under a key libsndfile does not read.
    for (const std::string& comment : written.flacComments) {
      const std::string key = std::string(VorbisKey(s.first)) + "=";
      found = found || strncasecmp(comment.c_str(), key.c_str(), key.size()) == 0;
    }
    if (!found) missing.push_back(StringName(s.first));
  }
  // A FLAC file holds the broadcast fields as comments.
  if (wanted.hasBroadcast && !written.hasBroadcast && major != SF_FORMAT_FLAC)
    missing.push_back("broadcast extension (bext)");
  if (wanted.hasCues && (!written.hasCues || written.cues.cue_count != wanted.cues.cue_count))
    missing.push_back("cue points");
  if (wanted.hasInstrument && !written.hasInstrument) missing.push_back("instrument and loops");
  if (MapNeedsSaying(wanted.channelMap) && written.channelMap != wanted.channelMap &&
      !(major == SF_FORMAT_FLAC &&
        wanted.channelMap == FlacChannelLayout(wanted.channelMap.size()))) {
    missing.push_back("channel layout");
  }
  return missing;
}
