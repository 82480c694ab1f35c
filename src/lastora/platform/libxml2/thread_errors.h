// libxml2 reports what no parser context takes (its encoding converters, its file loader) to the
// thread's handler, and without one prints it on the terminal. Each reading of a document here
// gives such reports a handler of its own for as long as it runs.
#ifndef LASTORA_PLATFORM_LIBXML2_THREAD_ERRORS_H_
#define LASTORA_PLATFORM_LIBXML2_THREAD_ERRORS_H_

#include <libxml/xmlerror.h>

namespace lastora {

class ThreadErrors {
 public:
  // Reports go to `handler` with `sink`; by default they are dropped, for readings whose own
  // verdict already says that the document failed.
  // Its few plain-text reports (a push parser's "encoder error") are always dropped.
  explicit ThreadErrors(void* sink = nullptr, xmlStructuredErrorFunc handler = Drop) {
    xmlSetStructuredErrorFunc(sink, handler);
    xmlSetGenericErrorFunc(nullptr, DropText);
  }
  ~ThreadErrors() {
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    xmlSetGenericErrorFunc(nullptr, nullptr);
  }
  ThreadErrors(const ThreadErrors&) = delete;
  ThreadErrors& operator=(const ThreadErrors&) = delete;

 private:
  static void Drop(void*, xmlErrorPtr) {}
  static void DropText(void*, const char*, ...) {}
};

}  // namespace lastora

#endif  // LASTORA_PLATFORM_LIBXML2_THREAD_ERRORS_H_
