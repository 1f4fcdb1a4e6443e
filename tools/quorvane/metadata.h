// What a file carries besides its audio, as libsndfile reads and writes it:
// the string tags, the broadcast extension (bext), cue points, instrument and
// loop data, and the channel map; and, beyond libsndfile's names, a WAV's
// track number (IPRT) and every Vorbis comment of a FLAC file. Read from the
// input, it is written to the output as far as the output's format can hold
// it. A FLAC output gets every tag as a Vorbis comment, the broadcast fields
// and the channel layout included, as FFmpeg writes them.
#pragma once

#include <sndfile.h>

#include <string>
#include <utility>
#include <vector>

// Room for a long coding history: every line a chain of tools has added.
typedef SF_BROADCAST_INFO_VAR(16000) BroadcastInfo;  // libsndfile takes less than 16 KiB
typedef SF_CUES_VAR(1000) CuePoints;

struct FileMetadata {
  std::vector<std::pair<int, std::string>> strings;  // SF_STR_* id, text
  bool hasBroadcast = false;
  BroadcastInfo broadcast{};
  bool hasCues = false;
  CuePoints cues{};
  bool hasInstrument = false;
  SF_INSTRUMENT instrument{};
  std::vector<int> channelMap;            // SF_CHANNEL_MAP_* per channel; empty for none
  std::vector<std::string> flacComments;  // a FLAC input's Vorbis comments, "KEY=value"
  // A WAV-family input's INFO fields as Vorbis comments, every one of them,
  // for a FLAC output; empty when not read.
  std::vector<std::string> infoComments;
};

// Everything `file`, opened from `path`, carries. What libsndfile does not
// read itself is read only from a regular file, never from a stream.
FileMetadata ReadMetadata(SNDFILE* file, const std::string& path);

// Whether the channel map says more than the channel count does (anything
// but mono, or left and right): a WAV output must then be WAVE_FORMAT_EXTENSIBLE
// to hold it.
bool MapNeedsSaying(const std::vector<int>& channelMap);

// WAVE_FORMAT_EXTENSIBLE's speaker mask for a channel map: the bits of the
// channels it names.
uint32_t ChannelMask(const std::vector<int>& channelMap);

// `history`, a broadcast coding history, with `line` added on a line of its
// own.
std::string WithHistoryLine(std::string history, const std::string& line);

// A line of coding history (EBU R 98) for what the tool did: the output's
// coding, its rate, word length and channel count, and the settings.
std::string CodingHistoryLine(int rate, int bits, int channels, const std::string& settings);

// Writes into `file` (open for writing, before any audio) what it can hold
// of `metadata`, with `historyLine` added to the broadcast coding history.
// libsndfile accepts some items that a format then does not store: what was
// kept is known only from the file read back (NotKept). A FLAC file gets
// nothing here: its comments are a block of their own (FlacCommentsBody).
void WriteMetadata(SNDFILE* file, const FileMetadata& metadata, const std::string& historyLine);

// The body of the VORBIS_COMMENT block of a FLAC output, holding every tag
// of `metadata` (a FLAC input's comments as they stand; otherwise the tags,
// the broadcast fields with `historyLine` and the channel layout); empty
// when there is none.
std::string FlacCommentsBody(const FileMetadata& metadata, const std::string& historyLine);

// The Vorbis comments of a FLAC input that libsndfile has no tag for, which
// a file of another family (but WAV) cannot take, named for the report.
std::vector<std::string> CommentsLeftBehind(const FileMetadata& metadata);

// The names of the items of `wanted` that `written`, read back from a file
// of libsndfile major format `major`, does not hold. A FLAC file holds the
// channel layout its channel count implies.
std::vector<std::string> NotKept(const FileMetadata& wanted, const FileMetadata& written,
                                 int major);
