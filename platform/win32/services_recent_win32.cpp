#include <windows.h>
#include <shlobj.h>

#include "platform/services.h"

namespace services {

void ClearRecentDocuments() {
  // A null document asks the shell to empty the whole list.
  SHAddToRecentDocs(SHARD_PATHA, nullptr);
}

}  // namespace services
