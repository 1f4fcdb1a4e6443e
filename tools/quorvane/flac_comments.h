// A FLAC file's Vorbis comments ("KEY=value"), read from its metadata
// blocks and written over them in place. libsndfile reads and writes only
// the handful of tags it has names for; these keep every comment.
#pragma once

#include <string>
#include <vector>

// The comments of the FLAC file at `path`; empty when it has none or is no
// FLAC file.
std::vector<std::string> ReadFlacComments(const std::string& path);

// The bytes of a VORBIS_COMMENT block's body holding `comments`.
std::string VorbisCommentBody(const std::vector<std::string>& comments);

// Replaces the VORBIS_COMMENT block of the FLAC file open on `descriptor`
// with one whose body is `body`, followed by padding to the old block's
// length, so that nothing after it moves. False when the file has no such
// block, or one too short to make room.
bool ReplaceFlacComments(int descriptor, const std::string& body);
