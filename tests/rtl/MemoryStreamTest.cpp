#include <gtest/gtest.h>

#include "rtl/CodePage1251.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

TEST(MemoryStream, ReadWriteSeekAndCheckedBuffers) {
    rtl::TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    EXPECT_EQ(s.Size(), 6);
    s.SetPosition(2);
    s.WriteBuffer("XY", 2);
    EXPECT_EQ(s.Bytes(), "abXYef");
    s.Seek(-1, rtl::TSeekOrigin::End);
    char c;
    s.ReadBuffer(&c, 1);
    EXPECT_EQ(c, 'f');
    char two[2];
    EXPECT_THROW(s.ReadBuffer(two, 2), rtl::EReadError);
    s.Seek(-100, rtl::TSeekOrigin::Current);
    EXPECT_EQ(s.Position(), 0);
    s.SetPosition(10); // past the end: writing fills the gap
    s.WriteBuffer("z", 1);
    EXPECT_EQ(s.Size(), 11);

    rtl::TMemoryStream copy;
    copy.CopyFrom(s, 0);
    EXPECT_EQ(copy.Bytes(), s.Bytes());
}

TEST(MemoryStream, BytesStreamIsReadOnly) {
    rtl::TBytesStream s("hello");
    char buf[5];
    s.ReadBuffer(buf, 5);
    EXPECT_EQ(std::string(buf, 5), "hello");
    try {
        s.WriteBuffer("x", 1);
        FAIL();
    } catch (const rtl::EStreamError& e) {
        EXPECT_STREQ(e.what(), "Can't write to a read-only resource stream");
    }
    try {
        s.ReadBuffer(buf, 1);
        FAIL();
    } catch (const rtl::EReadError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
}

TEST(Utf16, SurrogatePairsAndStrayHalves) {
    EXPECT_EQ(rtl::Utf16ToUtf8(u"Жx"), "Жx");
    EXPECT_EQ(rtl::Utf16ToUtf8(std::u16string{0xD83D, 0xDE00}), "\xF0\x9F\x98\x80");
    EXPECT_EQ(rtl::Utf16ToUtf8(std::u16string{0xDE00, 'a', 0xD83D}), "\xEF\xBF\xBD"
                                                                     "a\xEF\xBF\xBD");
}
