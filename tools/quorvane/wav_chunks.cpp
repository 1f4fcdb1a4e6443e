#include "tools/quorvane/wav_chunks.h"

#include <strings.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "tools/quorvane/little_endian.h"
#include "tools/quorvane/sample_counts.h"
#include "tools/quorvane/tag_names.h"

namespace {

// A bext body is read (to add a line to its history) up to this size; a
// larger one goes through as it is.
constexpr int64_t kMaxBextRewrite = 1 << 20;
constexpr size_t kBextFixed = 602;  // the fields before the coding history

// A fixed-size text field, cut or filled with zeros.
void Field(std::string& out, const char* text, size_t size) {
  out.append(text, strnlen(text, size));
  out.append(size - strnlen(text, size), '\0');
}

std::string Zero(std::string text) { return text + '\0'; }

// A LIST chunk's body: its type, then sub-chunks, each padded to an even size.
void AddSubchunk(std::string& list, const std::string& id, const std::string& body) {
  list += id;
  AppendLe32(list, static_cast<uint32_t>(body.size()));
  list += body;
  if (body.size() & 1) list += '\0';
}

// A LIST INFO chunk is read whole up to this size; a larger one is named.
constexpr int64_t kMaxInfoList = 1 << 20;

// A LIST chunk's type ("INFO", "adtl"); empty for any other chunk, and for
// one too short to say.
std::string ListType(const RiffChunk& chunk, int descriptor) {
  char type[4];
  if (chunk.id != "LIST" || chunk.size < 4 || pread(descriptor, type, 4, chunk.offset) != 4)
    return std::string();
  return std::string(type, 4);
}

}  // namespace

std::vector<std::pair<std::string, std::string>> InfoFields(const RiffLayout& layout,
                                                            int descriptor,
                                                            std::vector<std::string>& unread) {
  std::vector<std::pair<std::string, std::string>> fields;
  for (const RiffChunk& chunk : layout.chunks) {
    if (ListType(chunk, descriptor) != "INFO") continue;
    if (chunk.size > kMaxInfoList) {
      unread.push_back("LIST INFO chunk (too large to read)");
      continue;
    }
    std::string body(static_cast<size_t>(chunk.size), '\0');
    if (pread(descriptor, &body[0], body.size(), chunk.offset) != chunk.size) continue;
    // Fields: an id, a 32-bit size, the text and a pad byte to an even size.
    for (size_t at = 4; at + 8 <= body.size();) {
      const size_t length = ReadLe32(reinterpret_cast<const unsigned char*>(body.data() + at + 4));
      if (length > body.size() - at - 8) break;
      const std::string text = body.substr(at + 8, length);
      fields.emplace_back(body.substr(at, 4), text.substr(0, text.find('\0')));
      at += 8 + length + (length & 1);
    }
  }
  return fields;
}

namespace {

// The INFO fields libsndfile reads as its tags (IPRT, FFmpeg's track
// number, is read apart).
bool LibsndfileTag(const std::string& id) {
  for (const TagName& field : kTagNames) {
    if (field.sndfileId != 0 && field.info != nullptr && id == field.info) return true;
  }
  return id == "IPRT";
}

// Whether a Vorbis comment's key names an INFO field of its own (a WAV's
// field carried to FLAC under its id, as FFmpeg carries it).
bool InfoId(const std::string& key) {
  if (key.size() != 4 || key[0] != 'I') return false;
  for (char c : key) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

// The broadcast fields FFmpeg writes as Vorbis comments (the originator is
// its ENCODED_BY, which an INFO field holds as well), which a broadcast
// extension holds again.
constexpr const char* kBroadcastKeys[] = {"DESCRIPTION",      "ORIGINATOR_REFERENCE",
                                          "ORIGINATION_DATE", "ORIGINATION_TIME",
                                          "TIME_REFERENCE",   "CODING_HISTORY"};

// Copies `value` into a fixed-size text field, cut to its size.
template <size_t N>
void SetField(char (&field)[N], const std::string& value) {
  std::memset(field, 0, N);
  std::memcpy(field, value.data(), value.size() < N ? value.size() : N);
}

// The broadcast extension the comments of FFmpeg's names describe; false
// when they describe none.
bool BroadcastFromComments(const std::vector<std::string>& comments, BroadcastInfo& b) {
  bool any = false;
  for (const std::string& comment : comments) {
    const size_t equals = comment.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = comment.substr(0, equals), value = comment.substr(equals + 1);
    bool known = true;
    if (strcasecmp(key.c_str(), "DESCRIPTION") == 0) {
      SetField(b.description, value);
    } else if (strcasecmp(key.c_str(), "ENCODED_BY") == 0) {
      SetField(b.originator, value);
      continue;  // not a broadcast field alone
    } else if (strcasecmp(key.c_str(), "ORIGINATOR_REFERENCE") == 0) {
      SetField(b.originator_reference, value);
    } else if (strcasecmp(key.c_str(), "ORIGINATION_DATE") == 0) {
      SetField(b.origination_date, value);
    } else if (strcasecmp(key.c_str(), "ORIGINATION_TIME") == 0) {
      SetField(b.origination_time, value);
    } else if (strcasecmp(key.c_str(), "TIME_REFERENCE") == 0) {
      const unsigned long long samples = std::strtoull(value.c_str(), nullptr, 10);
      b.time_reference_low = static_cast<uint32_t>(samples);
      b.time_reference_high = static_cast<uint32_t>(samples >> 32);
    } else if (strcasecmp(key.c_str(), "CODING_HISTORY") == 0) {
      SetField(b.coding_history, value);
    } else {
      known = false;
    }
    any = any || known;
  }
  return any;
}

std::string BextBody(const BroadcastInfo& b, const std::string& historyLine) {
  std::string body;
  Field(body, b.description, sizeof b.description);
  Field(body, b.originator, sizeof b.originator);
  Field(body, b.originator_reference, sizeof b.originator_reference);
  Field(body, b.origination_date, sizeof b.origination_date);
  Field(body, b.origination_time, sizeof b.origination_time);
  AppendLe32(body, b.time_reference_low);
  AppendLe32(body, b.time_reference_high);
  AppendLe16(body, static_cast<uint16_t>(b.version));
  body.append(b.umid, sizeof b.umid);
  for (int16_t loudness : {b.loudness_value, b.loudness_range, b.max_true_peak_level,
                           b.max_momentary_loudness, b.max_shortterm_loudness}) {
    AppendLe16(body, static_cast<uint16_t>(loudness));
  }
  body.append(180, '\0');
  return body + WithHistoryLine(std::string(b.coding_history,
                                            strnlen(b.coding_history, sizeof b.coding_history)),
                                historyLine);
}

// An input's bext body with `historyLine` added to its history; the body
// as it stands when it is too short to be one or cannot be read.
ChunkSource BextWithLine(const RiffChunk& chunk, int descriptor, const std::string& historyLine) {
  ChunkSource kept = ChunkSource::InFile(chunk.id, descriptor, chunk.offset, chunk.size);
  if (chunk.size < static_cast<int64_t>(kBextFixed) || chunk.size > kMaxBextRewrite) return kept;
  std::string body(static_cast<size_t>(chunk.size), '\0');
  if (pread(descriptor, &body[0], body.size(), chunk.offset) != chunk.size) return kept;
  const std::string history(body.c_str() + kBextFixed,
                            strnlen(body.c_str() + kBextFixed, body.size() - kBextFixed));
  return ChunkSource::Held("bext",
                           body.substr(0, kBextFixed) + WithHistoryLine(history, historyLine));
}

std::string CueBody(const CuePoints& cues) {
  std::string body;
  AppendLe32(body, cues.cue_count);
  for (uint32_t i = 0; i < cues.cue_count && i < 1000; ++i) {
    const SF_CUE_POINT& cue = cues.cue_points[i];
    AppendLe32(body, static_cast<uint32_t>(cue.indx));
    AppendLe32(body, cue.position);
    body += "data";
    AppendLe32(body, static_cast<uint32_t>(cue.chunk_start));
    AppendLe32(body, static_cast<uint32_t>(cue.block_start));
    AppendLe32(body, cue.sample_offset);
  }
  return body;
}

// The labels of cue points (an adtl list of labl chunks); empty when none
// has a name.
std::string LabelsBody(const CuePoints& cues) {
  std::string list = "adtl";
  for (uint32_t i = 0; i < cues.cue_count && i < 1000; ++i) {
    const SF_CUE_POINT& cue = cues.cue_points[i];
    if (cue.name[0] == '\0') continue;
    std::string label;
    AppendLe32(label, static_cast<uint32_t>(cue.indx));
    AddSubchunk(list, "labl",
                label + Zero(std::string(cue.name, strnlen(cue.name, sizeof cue.name))));
  }
  return list.size() > 4 ? list : std::string();
}

// A sampler chunk and an instrument chunk for libsndfile's instrument.
void AddInstrument(WavChunks& chunks, const SF_INSTRUMENT& instrument, int rate) {
  std::string smpl;
  AppendLe32(smpl, 0);                                                          // manufacturer
  AppendLe32(smpl, 0);                                                          // product
  AppendLe32(smpl, rate > 0 ? static_cast<uint32_t>(1000000000.0 / rate) : 0);  // sample period, ns
  AppendLe32(smpl, static_cast<uint32_t>(instrument.basenote));
  AppendLe32(smpl, 0);  // pitch fraction
  AppendLe32(smpl, 0);  // SMPTE format
  AppendLe32(smpl, 0);  // SMPTE offset
  const int loops = instrument.loop_count < 0    ? 0
                    : instrument.loop_count > 16 ? 16
                                                 : instrument.loop_count;
  AppendLe32(smpl, static_cast<uint32_t>(loops));
  AppendLe32(smpl, 0);  // sampler data
  for (int i = 0; i < loops; ++i) {
    const auto& loop = instrument.loops[i];
    AppendLe32(smpl, static_cast<uint32_t>(i));
    AppendLe32(smpl, loop.mode == SF_LOOP_ALTERNATING ? 1 : loop.mode == SF_LOOP_BACKWARD ? 2 : 0);
    AppendLe32(smpl, loop.start);
    AppendLe32(smpl, loop.end);
    AppendLe32(smpl, 0);  // fraction
    AppendLe32(smpl, loop.count);
  }
  chunks.before.push_back(ChunkSource::Held("smpl", smpl));
  std::string inst;
  for (int value :
       {static_cast<int>(instrument.basenote), static_cast<int>(instrument.detune), instrument.gain,
        static_cast<int>(instrument.key_lo), static_cast<int>(instrument.key_hi),
        static_cast<int>(instrument.velocity_lo), static_cast<int>(instrument.velocity_hi)}) {
    inst += static_cast<char>(value);
  }
  chunks.before.push_back(ChunkSource::Held("inst", inst));
}

// A FLAC input's comments: INFO fields and broadcast fields where a WAV
// has them, the rest named as not kept.
void AddComments(WavChunks& chunks, const std::vector<std::string>& comments, std::string& info,
                 BroadcastInfo& broadcast, bool& hasBroadcast) {
  for (const TagName& field : kTagNames) {
    if (field.info == nullptr) continue;
    std::string value;
    for (const std::string& comment : comments) {
      const size_t length = std::strlen(field.vorbisKey);
      if (comment.size() > length && comment[length] == '=' &&
          strncasecmp(comment.c_str(), field.vorbisKey, length) == 0) {
        value += (value.empty() ? "" : "; ") + comment.substr(length + 1);
      }
    }
    if (!value.empty()) AddSubchunk(info, field.info, Zero(value));
  }
  for (const std::string& comment : comments) {
    const std::string key = comment.substr(0, comment.find('='));
    bool mapped = false;
    for (const TagName& field : kTagNames)
      mapped = mapped || (field.info != nullptr && strcasecmp(key.c_str(), field.vorbisKey) == 0);
    if (!mapped && InfoId(key) && key.size() < comment.size()) {
      AddSubchunk(info, key, Zero(comment.substr(5)));
      continue;
    }
    bool placed = mapped;
    for (const char* name : kBroadcastKeys) placed = placed || strcasecmp(key.c_str(), name) == 0;
    placed = placed || strcasecmp(key.c_str(), "WAVEFORMATEXTENSIBLE_CHANNEL_MASK") == 0;
    if (!placed) chunks.notKept.push_back(key + " (a comment no WAV field holds)");
  }
  BroadcastInfo fromComments{};
  if (BroadcastFromComments(comments, fromComments)) {
    broadcast = fromComments;
    hasBroadcast = true;
  }
}

// A chunk that counts samples is read whole, up to this size, to move it
// to a new rate; a larger one cannot be.
constexpr int64_t kMaxRewrite = 1 << 20;

// `source`, the chunk walked as `chunk`, at a new rate: rewritten where it
// counts samples, as it is where it counts none; false (with its name in
// `notKept`) where it cannot be moved.
bool AtNewRate(ChunkSource& source, const RiffChunk& chunk, int descriptor, double ratio, int rate,
               std::vector<std::string>& notKept) {
  const std::string listType = ListType(chunk, descriptor);
  if (!CountsSamples(chunk.id, listType)) return true;
  std::string body = source.bytes;
  if (source.descriptor >= 0) {
    if (chunk.size <= kMaxRewrite) {
      body.assign(static_cast<size_t>(chunk.size), '\0');
      if (pread(descriptor, &body[0], body.size(), chunk.offset) != chunk.size) body.clear();
    }
    if (body.size() != static_cast<size_t>(chunk.size)) {
      notKept.push_back(chunk.id + " (counts samples at the old rate, too large to rewrite)");
      return false;
    }
  }
  switch (ChunkAtNewRate(chunk.id, listType, body, ratio, rate)) {
    case ChunkAtRate::kConverted: source = ChunkSource::Held(chunk.id, body); return true;
    case ChunkAtRate::kUntouched: return true;
    case ChunkAtRate::kCannot: break;
  }
  notKept.push_back(chunk.id + " (counts samples at the old rate)");
  return false;
}

}  // namespace

WavChunks ChunksOfInput(const RiffLayout& layout, int descriptor, const FileMetadata& metadata,
                        const std::string& historyLine, double ratio, int rate) {
  WavChunks chunks;
  if (MapNeedsSaying(metadata.channelMap)) chunks.channelMask = ChannelMask(metadata.channelMap);
  for (const RiffChunk& chunk : layout.chunks) {
    std::vector<ChunkSource>& list = chunk.afterData ? chunks.after : chunks.before;
    if (chunk.id == "fmt ") continue;  // written for the new audio
    if (chunk.id == "fact" || chunk.id == "PEAK") {
      (chunk.id == "fact" ? chunks.frameCount : chunks.channelPeaks) = true;
      chunks.madeAnew.push_back(chunk.id);
    } else if (chunk.id == "levl") {
      chunks.notKept.push_back("levl (the old audio's peak envelope)");
    } else if (chunk.id == "MD5 ") {
      chunks.notKept.push_back("MD5 (a checksum of the old audio)");
    } else if (chunk.id.size() != 4) {
      chunks.notKept.push_back(chunk.id + " (a W64 chunk no WAV can name)");
    } else if (chunk.size > 0xFFFFFFFE) {
      chunks.notKept.push_back(chunk.id + " (too large for a WAV chunk)");
    } else {
      ChunkSource source =
          chunk.id == "bext" ? BextWithLine(chunk, descriptor, historyLine)
                             : ChunkSource::InFile(chunk.id, descriptor, chunk.offset, chunk.size);
      if (ratio == 1.0 || AtNewRate(source, chunk, descriptor, ratio, rate, chunks.notKept))
        list.push_back(std::move(source));
    }
  }
  for (const std::string& damage : layout.damaged) chunks.notKept.push_back(damage);
  return chunks;
}

WavChunks ChunksFromMetadata(const FileMetadata& metadata, const std::string& historyLine,
                             int rate) {
  WavChunks chunks;
  if (MapNeedsSaying(metadata.channelMap)) chunks.channelMask = ChannelMask(metadata.channelMap);
  BroadcastInfo broadcast = metadata.broadcast;
  bool hasBroadcast = metadata.hasBroadcast;
  std::string info = "INFO";
  if (!metadata.flacComments.empty()) {
    AddComments(chunks, metadata.flacComments, info, broadcast, hasBroadcast);
  } else {
    for (const auto& s : metadata.strings) {
      for (const TagName& field : kTagNames) {
        if (field.sndfileId == s.first && field.info != nullptr)
          AddSubchunk(info, field.info, Zero(s.second));
      }
    }
  }
  if (hasBroadcast)
    chunks.before.push_back(ChunkSource::Held("bext", BextBody(broadcast, historyLine)));
  if (metadata.hasCues && metadata.cues.cue_count > 0) {
    chunks.before.push_back(ChunkSource::Held("cue ", CueBody(metadata.cues)));
    const std::string labels = LabelsBody(metadata.cues);
    if (!labels.empty()) chunks.before.push_back(ChunkSource::Held("LIST", labels));
  }
  if (metadata.hasInstrument) AddInstrument(chunks, metadata.instrument, rate);
  if (info.size() > 4) chunks.before.push_back(ChunkSource::Held("LIST", info));
  return chunks;
}

std::vector<std::string> InfoComments(const RiffLayout& layout, int descriptor,
                                      std::vector<std::string>& unread) {
  std::vector<std::string> comments;
  for (const auto& field : InfoFields(layout, descriptor, unread)) {
    std::string key = field.first == "IPRT" ? "TRACKNUMBER" : field.first;
    for (const TagName& known : kTagNames) {
      if (known.info != nullptr && field.first == known.info) key = known.vorbisKey;
    }
    if (!field.second.empty()) comments.push_back(key + "=" + field.second);
  }
  return comments;
}

std::vector<std::string> ChunksLeftBehind(const RiffLayout& layout, int descriptor,
                                          bool takesComments, std::vector<std::string>& madeAnew) {
  // The format, what libsndfile carries, and padding.
  static const char* const kCarried[] = {"fmt ", "bext", "cue ", "smpl", "inst",
                                         "JUNK", "junk", "PAD ", "FLLR"};
  std::vector<std::string> names;
  for (const RiffChunk& chunk : layout.chunks) {
    bool carried = false;
    for (const char* id : kCarried) carried = carried || chunk.id == id;
    if (carried) continue;
    if (chunk.id == "fact") {
      madeAnew.push_back("fact (the frame count)");
      continue;
    }
    const std::string type = ListType(chunk, descriptor);
    if (!type.empty()) {
      if (type == "INFO") continue;  // its fields are named below
      names.push_back(type == "adtl" ? "cue labels (LIST adtl)" : "LIST " + type + " chunk");
      continue;
    }
    names.push_back(chunk.id.substr(0, chunk.id.find_last_not_of(' ') + 1) + " chunk");
  }
  if (!takesComments) {
    for (const auto& field : InfoFields(layout, descriptor, names)) {
      if (!LibsndfileTag(field.first)) names.push_back("INFO " + field.first);
    }
  }
  for (const std::string& damage : layout.damaged) names.push_back(damage);
  return names;
}
