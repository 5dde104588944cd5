#pragma once
// The exception classes of the system: one base carrying the message, a class per failure kind so
// handlers and the error display can tell them apart. ClassName() gives the class's own name, as
// the error output of the tools prints it.
#include <stdexcept>
#include <string>

#include "rtl/Format.h"

namespace rtl {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : m_message(std::move(message)) {}
    template <typename... Args>
    requires(sizeof...(Args) > 0) Exception(std::string_view fmt, const Args&... args)
        : m_message(Format(fmt, args...)) {}

    const char* what() const noexcept override { return m_message.c_str(); }
    const std::string& Message() const { return m_message; }
    void SetMessage(std::string message) { m_message = std::move(message); }
    virtual const char* ClassName() const { return "Exception"; }

private:
    std::string m_message;
};

#define ZORVANE_EXCEPTION(Name, Base)                                                              \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
        const char* ClassName() const override { return #Name; }                                   \
    };

ZORVANE_EXCEPTION(EConvertError, Exception)
ZORVANE_EXCEPTION(EStreamError, Exception)
ZORVANE_EXCEPTION(EFilerError, EStreamError)
ZORVANE_EXCEPTION(EReadError, EFilerError)
ZORVANE_EXCEPTION(EWriteError, EFilerError)
ZORVANE_EXCEPTION(EClassNotFound, EFilerError)
ZORVANE_EXCEPTION(EResNotFound, Exception)
ZORVANE_EXCEPTION(EInvalidOperation, Exception)
ZORVANE_EXCEPTION(EInvalidGraphic, Exception)
ZORVANE_EXCEPTION(EInvalidGraphicOperation, Exception)
ZORVANE_EXCEPTION(EComponentError, Exception)
ZORVANE_EXCEPTION(EOutOfResources, Exception)
ZORVANE_EXCEPTION(EOutOfMemory, Exception)
ZORVANE_EXCEPTION(EListError, Exception)
ZORVANE_EXCEPTION(EStringListError, Exception)
ZORVANE_EXCEPTION(EPrinter, Exception)
ZORVANE_EXCEPTION(EJPEG, Exception)
// Raised to stop an operation without an error message (a progress handler cancelling).
ZORVANE_EXCEPTION(EAbort, Exception)
ZORVANE_EXCEPTION(EOSError, Exception)
ZORVANE_EXCEPTION(ChartException, Exception)
ZORVANE_EXCEPTION(AxisException, ChartException)
ZORVANE_EXCEPTION(EReportError, Exception)
ZORVANE_EXCEPTION(EParserError, Exception)

#undef ZORVANE_EXCEPTION

// A document that could not be written to its file: the system's error number beside the
// message, so a caller can say "the disk is full" apart from "the folder cannot be written".
class EPrinterFile : public EPrinter {
public:
    template <typename... Args>
    EPrinterFile(int systemError, std::string_view fmt, const Args&... args)
        : EPrinter(Format(fmt, args...)), m_systemError(systemError) {}
    const char* ClassName() const override { return "EPrinterFile"; }
    int SystemError() const { return m_systemError; }

private:
    int m_systemError;
};

} // namespace rtl
