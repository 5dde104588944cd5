#pragma once
// Private to src/platform/a11y: just enough of the D-Bus wire format to ask the session bus
// whether assistive technology is on — method calls with string arguments out, and the header
// and a{sv} bodies of replies and signals in. Pure (no sockets), so it is tested on bytes alone.
// A program that nobody listens to then pays one socket and a few hundred bytes for the
// question, rather than GDBus's threads and types (1.6 MB and three threads, measured).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::a11y::detail {

enum class MessageType : std::uint8_t {
    Invalid = 0,
    MethodCall = 1,
    MethodReturn = 2,
    Error = 3,
    Signal = 4,
};

constexpr std::uint8_t kNoReplyExpected = 0x1;
constexpr std::uint8_t kNoAutoStart = 0x2;

struct MethodCall {
    std::uint32_t serial = 0;
    std::uint8_t flags = 0;
    std::string destination;
    std::string path;
    std::string interface;
    std::string member;
    std::vector<std::string> arguments; // each a string ("s")
};

// The bytes of a method call, in little-endian order.
std::string EncodeMethodCall(const MethodCall& call);

struct Message {
    MessageType type = MessageType::Invalid;
    std::uint32_t serial = 0;
    std::uint32_t replySerial = 0;
    std::string interface;
    std::string member;
    std::string signature;
    bool bigEndian = false;
    std::string body;
};

enum class ReadResult { Message, Incomplete, Malformed };

// Reads the message at the start of `bytes`; on ReadResult::Message, `used` is its length.
ReadResult ReadMessage(std::string_view bytes, Message& message, std::size_t& used);

// The booleans of an a{sv} (a reply to Properties.GetAll, or the changes of PropertiesChanged,
// whose first argument, the interface, must be `interface`); values of other types are passed
// over. Empty when the body is malformed or of another signature.
struct Booleans {
    std::vector<std::pair<std::string, bool>> values;
    bool Has(std::string_view name) const;
};
std::optional<Booleans> ReadPropertiesReply(const Message& reply);
std::optional<Booleans> ReadPropertiesChanged(const Message& signal, std::string_view interface);

// A bus address ("unix:path=/run/user/1000/bus", "unix:abstract=/tmp/dbus-x,guid=…", several
// separated by ";") as the socket to connect to: the first Unix one. The name of an abstract
// socket starts with a NUL byte. Empty when there is none.
std::string UnixSocketOf(std::string_view address);

// The SASL line that authenticates as the process's user ("\0AUTH EXTERNAL 31303030\r\n" for
// uid 1000, with the leading NUL byte D-Bus wants).
std::string AuthExternalLine(unsigned uid);

} // namespace platform::a11y::detail
