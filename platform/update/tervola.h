#pragma once

// The live-update module's face. The program finds LiveUpdate with dlsym when the user
// asks for an update; it is never bound at load time.

#ifdef __cplusplus
extern "C" {
#endif

// What the module asks of the program through its callback.
enum {
  // Show text in a message box; the result is ignored.
  UPDATE_SHOW_MESSAGE = 1,
  // Show text in an error box; the result is ignored.
  UPDATE_SHOW_ERROR = 2,
  // Ask text as a Yes/No question; 1 for Yes.
  UPDATE_ASK_YES_NO = 3,
  // Open text, a checked http or https address, in the web browser.
  UPDATE_OPEN_ADDRESS = 4,
  // Whether the user has asked the check to stop (text is empty); 1 for stop.
  UPDATE_STOP_REQUESTED = 5,
};

typedef int (*UpdateCallback)(void* context, int request, const char* text);
typedef int (*LiveUpdateEntry)(const char* product, const char* version, const char* updateHost,
                               UpdateCallback callback, void* context);

// Asks updateHost ("name[:port]") for the newest version of product, tells the user the
// outcome through callback and, when a newer version exists, offers to open its download
// page. Texts are UTF-8. Returns non-zero when the program must close for the update;
// as the module never installs anything itself, that is never the case.
__attribute__((visibility("default"))) int LiveUpdate(const char* product, const char* version,
                                                      const char* updateHost,
                                                      UpdateCallback callback, void* context);

#ifdef __cplusplus
}
#endif
