// QV_TEST_SANITIZED is set in a build under AddressSanitizer, where some
// cases are too slow or cannot be provoked (a limited address space).
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define QV_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QV_TEST_SANITIZED 1
#endif
#endif
