#pragma once
// Private to src/platform/spool: libcups, opened the first time a queue of the print service is
// used rather than linked. A program that only writes PDF files (the file sink, `zorvane-cli
// report --pdf`) then never loads it, nor the TLS, Kerberos, D-Bus and Avahi libraries it pulls
// in — about a third of the process's libraries and 4 MB of its memory.
#include <cups/cups.h>

#include <string>

namespace platform::spool::detail {

// Every libcups function the spool calls; the table has one member of the same name and type each.
#define ZORVANE_CUPS_FUNCTIONS(X)                                                                  \
    X(cupsAddDest)                                                                                 \
    X(cupsAddOption)                                                                               \
    X(cupsCancelDestJob)                                                                           \
    X(cupsCopyDestInfo)                                                                            \
    X(cupsCreateDestJob)                                                                           \
    X(cupsDoRequest)                                                                               \
    X(cupsEncryption)                                                                              \
    X(cupsFindDestDefault)                                                                         \
    X(cupsFindDestSupported)                                                                       \
    X(cupsFinishDestDocument)                                                                      \
    X(cupsFreeDestInfo)                                                                            \
    X(cupsFreeDests)                                                                               \
    X(cupsFreeOptions)                                                                             \
    X(cupsLastError)                                                                               \
    X(cupsLastErrorString)                                                                         \
    X(cupsServer)                                                                                  \
    X(cupsSetPasswordCB2)                                                                          \
    X(cupsSetServer)                                                                               \
    X(cupsStartDestDocument)                                                                       \
    X(cupsWriteRequestData)                                                                        \
    X(httpAssembleURIf)                                                                            \
    X(httpClose)                                                                                   \
    X(httpConnect2)                                                                                \
    X(httpError)                                                                                   \
    X(httpSetTimeout)                                                                              \
    X(ippAddStrings)                                                                               \
    X(ippDelete)                                                                                   \
    X(ippErrorString)                                                                              \
    X(ippFindAttribute)                                                                            \
    X(ippFirstAttribute)                                                                           \
    X(ippGetCollection)                                                                            \
    X(ippGetCount)                                                                                 \
    X(ippGetInteger)                                                                               \
    X(ippGetName)                                                                                  \
    X(ippGetRange)                                                                                 \
    X(ippGetResolution)                                                                            \
    X(ippGetString)                                                                                \
    X(ippGetValueTag)                                                                              \
    X(ippNewRequest)                                                                               \
    X(ippNextAttribute)                                                                            \
    X(ippPort)

struct CupsLibrary {
#define ZORVANE_CUPS_MEMBER(name) decltype(&::name) name = nullptr;
    ZORVANE_CUPS_FUNCTIONS(ZORVANE_CUPS_MEMBER)
#undef ZORVANE_CUPS_MEMBER
};

// Opens libcups once per process. False, with `error` set to a sentence, when it is missing or
// lacks a function; every way into the print service (CupsConnection) asks this first.
bool CupsAvailable(std::string* error = nullptr);

// The table; only after CupsAvailable() said yes.
const CupsLibrary& Cups();

} // namespace platform::spool::detail
