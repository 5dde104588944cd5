#include <gtest/gtest.h>

#include "platform/a11y/DBusWire.h"

#include <gio/gio.h>

namespace platform::a11y::detail {
namespace {

// GDBus, a complete implementation of the protocol, is the judge of our few messages: it must
// read what we write, and we must read what it writes, in both byte orders.
std::string Blob(GDBusMessage* message, GDBusMessageByteOrder order) {
    g_dbus_message_set_byte_order(message, order);
    g_dbus_message_set_serial(message, 7);
    gsize size = 0;
    guchar* bytes = g_dbus_message_to_blob(message, &size, G_DBUS_CAPABILITY_FLAGS_NONE, nullptr);
    std::string blob(reinterpret_cast<char*>(bytes), size);
    g_free(bytes);
    g_object_unref(message);
    return blob;
}

// a{sv} with a boolean on, one off, and values of other types to pass over.
GVariant* Status() {
    GVariantBuilder b;
    g_variant_builder_init(&b, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&b, "{sv}", "Version", g_variant_new_uint64(3));
    g_variant_builder_add(&b, "{sv}", "IsEnabled", g_variant_new_boolean(TRUE));
    g_variant_builder_add(&b, "{sv}", "Names", g_variant_new_parsed("[('a', <@y 1>)]"));
    g_variant_builder_add(&b, "{sv}", "ScreenReaderEnabled", g_variant_new_boolean(FALSE));
    return g_variant_builder_end(&b);
}

std::string GetAllReply(GDBusMessageByteOrder order) {
    GDBusMessage* call = g_dbus_message_new_method_call(
        ":1.9", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "GetAll");
    g_dbus_message_set_serial(call, 3);
    GDBusMessage* reply = g_dbus_message_new_method_reply(call);
    g_object_unref(call);
    g_dbus_message_set_body(reply, g_variant_new("(@a{sv})", Status()));
    return Blob(reply, order);
}

std::string Changed(const char* interface, GDBusMessageByteOrder order) {
    GDBusMessage* signal = g_dbus_message_new_signal(
        "/org/a11y/bus", "org.freedesktop.DBus.Properties", "PropertiesChanged");
    g_dbus_message_set_body(
        signal, g_variant_new("(s@a{sv}@as)", interface, Status(), g_variant_new_strv(nullptr, 0)));
    return Blob(signal, order);
}

TEST(DBusWire, OurCallsAndTheBusAnswersReadAsGDBusReadsThem) {
    MethodCall getAll{3,
                      kNoAutoStart,
                      "org.a11y.Bus",
                      "/org/a11y/bus",
                      "org.freedesktop.DBus.Properties",
                      "GetAll",
                      {"org.a11y.Status"}};
    std::string ours = EncodeMethodCall(getAll);
    GError* error = nullptr;
    GDBusMessage* read = g_dbus_message_new_from_blob(
        reinterpret_cast<guchar*>(ours.data()), ours.size(), G_DBUS_CAPABILITY_FLAGS_NONE, &error);
    ASSERT_NE(read, nullptr) << error->message;
    EXPECT_EQ(g_dbus_message_get_serial(read), 3u);
    EXPECT_EQ(g_dbus_message_get_flags(read), G_DBUS_MESSAGE_FLAGS_NO_AUTO_START);
    EXPECT_STREQ(g_dbus_message_get_destination(read), "org.a11y.Bus");
    EXPECT_STREQ(g_dbus_message_get_path(read), "/org/a11y/bus");
    EXPECT_STREQ(g_dbus_message_get_member(read), "GetAll");
    gchar* body = g_variant_print(g_dbus_message_get_body(read), FALSE);
    EXPECT_STREQ(body, "('org.a11y.Status',)");
    g_free(body);
    g_object_unref(read);

    for (auto order :
         {G_DBUS_MESSAGE_BYTE_ORDER_LITTLE_ENDIAN, G_DBUS_MESSAGE_BYTE_ORDER_BIG_ENDIAN}) {
        std::string reply = GetAllReply(order);
        Message message;
        std::size_t used = 0;
        ASSERT_EQ(ReadMessage(reply, message, used), ReadResult::Message);
        EXPECT_EQ(used, reply.size());
        EXPECT_EQ(message.replySerial, 3u);
        auto status = ReadPropertiesReply(message);
        ASSERT_TRUE(status);
        EXPECT_TRUE(status->Has("IsEnabled"));
        EXPECT_FALSE(status->Has("ScreenReaderEnabled"));
        EXPECT_EQ(status->values.size(), 2u);

        // Two messages in a row, the second cut short: the first reads, the rest waits.
        std::string stream = Changed("org.a11y.Status", order) + reply.substr(0, 40);
        ASSERT_EQ(ReadMessage(stream, message, used), ReadResult::Message);
        ASSERT_TRUE(ReadPropertiesChanged(message, "org.a11y.Status"));
        EXPECT_TRUE(ReadPropertiesChanged(message, "org.a11y.Status")->Has("IsEnabled"));
        EXPECT_EQ(ReadMessage(std::string_view(stream).substr(used), message, used),
                  ReadResult::Incomplete);
        // Another interface's changes are not ours.
        ASSERT_EQ(ReadMessage(Changed("org.other", order), message, used), ReadResult::Message);
        EXPECT_FALSE(ReadPropertiesChanged(message, "org.a11y.Status"));
    }

    std::string broken = GetAllReply(G_DBUS_MESSAGE_BYTE_ORDER_LITTLE_ENDIAN);
    broken[0] = 'x';
    Message message;
    std::size_t used = 0;
    EXPECT_EQ(ReadMessage(broken, message, used), ReadResult::Malformed);

    EXPECT_EQ(UnixSocketOf("tcp:host=x;unix:abstract=/tmp/dbus-Ab%2c,guid=12"),
              std::string("\0/tmp/dbus-Ab,", 14));
    EXPECT_EQ(UnixSocketOf("unix:path=/run/user/1000/bus"), "/run/user/1000/bus");
    EXPECT_EQ(UnixSocketOf("tcp:host=localhost,port=1"), "");
    EXPECT_EQ(AuthExternalLine(1000), std::string("\0AUTH EXTERNAL 31303030\r\n", 25));
}

} // namespace
} // namespace platform::a11y::detail
