#pragma once

#include <httplib.h>

#include "mirror_source.h"

namespace drawd {

inline constexpr int kDefaultPort = 18733;

// Routes of the mirror on server: the history page of any day, both feeds, the
// announcement page and the two draw-video pages. Malformed requests get 400,
// unknown paths 404. The source must outlive the server.
void InstallRoutes(httplib::Server& server, MirrorSource& source);

}  // namespace drawd
