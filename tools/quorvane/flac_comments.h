// A FLAC file's Vorbis comments ("KEY=value"). libsndfile reads and writes
// only the handful of tags it has names for; these keep every comment.
#pragma once

#include <string>
#include <vector>

#include "tools/quorvane/flac_blocks.h"

// The comments of the FLAC file open on `descriptor`, walked as `layout`;
// empty when it has none.
std::vector<std::string> ReadFlacComments(int descriptor, const FlacLayout& layout);

// The bytes of a VORBIS_COMMENT block's body holding `comments`.
std::string VorbisCommentBody(const std::vector<std::string>& comments);
