// TAVELIN_TEST_ASAN is defined when the tests are built with AddressSanitizer
// (clang or GCC), for the few checks that cannot hold there.
#pragma once

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVELIN_TEST_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TAVELIN_TEST_ASAN 1
#endif
