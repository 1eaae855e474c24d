#pragma once

#include <string>
#include <string_view>

#include "mirror_source.h"

namespace drawd {

// What the mirror answers to one request.
struct MirrorReply {
  int status = 200;
  std::string contentType;  // empty with an empty body
  std::string body;
};

// The answer to a GET of target (path and query, as in the request line): the
// history page of any day, both feeds, the announcement page and the two
// draw-video pages. Malformed queries get 400, unknown paths 404.
MirrorReply Answer(MirrorSource& source, std::string_view target);

}  // namespace drawd
