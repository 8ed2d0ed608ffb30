#include "platform/services.h"
#include "tests/fakes/fakes.h"

namespace services {

void ClearRecentDocuments() { ++fakes::FakeServices().recent_documents_cleared; }

}  // namespace services
