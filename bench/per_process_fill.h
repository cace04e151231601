// The target list built the plain way, one lookup per process: each lookup collects the visible
// top-level windows and walks a process snapshot of its own. It is the yardstick the program's
// one-snapshot fill is timed against, and the two must give the same entries.
#pragma once

#include <string>
#include <vector>

namespace keyvora::bench {

std::vector<std::string> per_process_target_entries();

}  // namespace keyvora::bench
