#pragma once

namespace ksm {
class CCom;
}

// The process-wide protocol client: built without parent on the first call and kept until the
// shared objects are destroyed (before the application object goes, or by
// destroySharedObjects() in tests, after which the next call builds a fresh client). Always the
// same non-null pointer in between. GUI thread only.
[[nodiscard]] ksm::CCom *comClient();
