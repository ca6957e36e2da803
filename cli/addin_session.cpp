#include "cli/addin_session.h"

namespace cli {

std::shared_ptr<memhost::MemoryVBE> EmptyIde() { return memhost::HostBuilder().project(u"Project1").build(); }

}  // namespace cli
