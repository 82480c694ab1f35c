// What the shared library shows its callers. The library is compiled with every symbol hidden;
// each public header opens its declarations with LASTORA_PUBLIC_BEGIN and closes them with
// LASTORA_PUBLIC_END, so that exactly these headers make up the library's exported interface and
// the internals cannot be linked against by accident.
#ifndef LASTORA_EXPORT_H_
#define LASTORA_EXPORT_H_

#if defined(__GNUC__) && !defined(_WIN32)
#define LASTORA_PUBLIC_BEGIN _Pragma("GCC visibility push(default)")
#define LASTORA_PUBLIC_END _Pragma("GCC visibility pop")
#else
// Windows builds link the library statically into the COM server, which exports its own entry
// points; there is nothing to mark.
#define LASTORA_PUBLIC_BEGIN
#define LASTORA_PUBLIC_END
#endif

#endif  // LASTORA_EXPORT_H_
