// libxml2 reports what no parser context takes (its encoding converters, its file loader) to the
// thread's handlers, and without them prints it on the terminal. Each reading of a document here
// gives such reports handlers of its own for as long as it runs.
#ifndef LASTORA_PLATFORM_LIBXML2_THREAD_ERRORS_H_
#define LASTORA_PLATFORM_LIBXML2_THREAD_ERRORS_H_

#include <libxml/globals.h>
#include <libxml/xmlerror.h>

namespace lastora {

class ThreadErrors {
 public:
  // Reports go to `handler` with `sink`; by default they are dropped, for readings whose own
  // verdict already says that the document failed. The few plain-text reports (a push parser's
  // "encoder error") are always dropped. The thread's handlers before are back afterwards, so
  // that one reading may run inside another.
  explicit ThreadErrors(void* sink = nullptr, xmlStructuredErrorFunc handler = Drop)
      : structured_(xmlStructuredError),
        structured_sink_(xmlStructuredErrorContext),
        generic_(xmlGenericError),
        generic_sink_(xmlGenericErrorContext) {
    xmlSetStructuredErrorFunc(sink, handler);
    xmlSetGenericErrorFunc(nullptr, DropText);
  }
  ~ThreadErrors() {
    xmlSetStructuredErrorFunc(structured_sink_, structured_);
    xmlSetGenericErrorFunc(generic_sink_, generic_);
  }
  ThreadErrors(const ThreadErrors&) = delete;
  ThreadErrors& operator=(const ThreadErrors&) = delete;

 private:
  static void Drop(void*, xmlErrorPtr) {}
  static void DropText(void*, const char*, ...) {}

  xmlStructuredErrorFunc structured_;
  void* structured_sink_;
  xmlGenericErrorFunc generic_;
  void* generic_sink_;
};

}  // namespace lastora

#endif  // LASTORA_PLATFORM_LIBXML2_THREAD_ERRORS_H_
