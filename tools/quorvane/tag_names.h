// The tags the tool knows by name, in one table: libsndfile's string tag
// and the report's name for it (0 and null where libsndfile has none), the
// Vorbis comment's key (FFmpeg's names) and the WAV INFO field (null where
// WAV has none).
#pragma once

#include <sndfile.h>

struct TagName {
  int sndfileId;
  const char* name;
  const char* vorbisKey;
  const char* info;
};

inline constexpr TagName kTagNames[] = {
    {SF_STR_TITLE, "title", "TITLE", "INAM"},
    {SF_STR_COPYRIGHT, "copyright", "COPYRIGHT", "ICOP"},
    {SF_STR_SOFTWARE, "software", "ENCODER", "ISFT"},
    {SF_STR_ARTIST, "artist", "ARTIST", "IART"},
    {SF_STR_COMMENT, "comment", "COMMENT", "ICMT"},
    {SF_STR_DATE, "date", "DATE", "ICRD"},
    {SF_STR_ALBUM, "album", "ALBUM", "IPRD"},
    {SF_STR_LICENSE, "licence", "LICENSE", nullptr},
    {SF_STR_TRACKNUMBER, "track number", "TRACKNUMBER", "ITRK"},
    {SF_STR_GENRE, "genre", "GENRE", "IGNR"},
    {0, nullptr, "ISRC", "ISRC"},
    {0, nullptr, "LANGUAGE", "ILNG"},
    {0, nullptr, "ENCODED_BY", "ITCH"},
};
