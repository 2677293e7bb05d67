#pragma once

#include <functional>
#include <string>
#include <vector>

// Where Import from Device looks: the root folders of the mounted drives. Asking can hang on
// a network mount whose server is gone, so it is only ever called off the window's thread.
using VolumeSource = std::function<std::vector<std::string>()>;

// The mounted, ready volumes, network file systems left out: no chronograph is one, and
// looking into a dead one would hang.
std::vector<std::string> mountedVolumeRoots();
