#pragma once

// The update library's one entry point, callable from C. Texts are UTF-8, ended by a zero
// byte; a null pointer stands for an empty text.
//
//   remoteVersionUrl   address of the remote version file (its first line is the newest version)
//   localVersionPath   path of the installed program's version file (its first line is used)
//   downloadPageUrl    page offered to the user when a newer version exists
//   tempDir            the caller's temporary directory; the check keeps everything in memory
//                      and writes nothing there
//   notifyUser         1: tell the user the outcome in a message box; any other value: silent
//   newerAvailable     set to 1 when a newer version exists, otherwise to 0; may be null
//
// Returns one of the ZV_ codes below. Waits for the answer at most ten seconds, processing the
// caller's events meanwhile, user input included: every window stays usable. Its message boxes
// are modal only to the window that was active when the call began, so a box left open holds
// back no other window. A call made while another one is waiting returns ZV_BUSY at once.

#include <stdint.h>

#if defined(_WIN32)
#define ZORVAN_EXPORT __declspec(dllexport)
#else
#define ZORVAN_EXPORT __attribute__((visibility("default")))
#endif

#define ZV_CURRENT 0
#define ZV_NEWER 1
#define ZV_LOCAL_UNREADABLE 2
#define ZV_LOCAL_INVALID 3
#define ZV_NO_ADDRESS 4
#define ZV_NETWORK_ERROR 5
#define ZV_TIMEOUT 6
#define ZV_HTTP_ERROR 7
#define ZV_INVALID_ANSWER 8
#define ZV_INTERNAL_ERROR 9
#define ZV_CANCELLED 10
#define ZV_BUSY 11

#ifdef __cplusplus
extern "C" {
#endif

ZORVAN_EXPORT int ZjistiVerzi(const char *remoteVersionUrl, const char *localVersionPath,
                              const char *downloadPageUrl, const char *tempDir, int32_t notifyUser,
                              unsigned char *newerAvailable);

#ifdef __cplusplus
}
#endif
