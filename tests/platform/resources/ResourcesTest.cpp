#include <gtest/gtest.h>

#include "platform/resources/Resources.h"
#include "rtl/Exception.h"

// The test executable embeds resources/Sample.form (class TSampleForm) and sample.txt as
// RCDATA "SampleData" (see tests/CMakeLists.txt).

TEST(Resources, FormsAreNamedByTheirClassAndFoundWhateverTheCase) {
    auto form = platform::FindResource(platform::RT_RCDATA, "tsampleform");
    ASSERT_TRUE(form.has_value());
    EXPECT_EQ(form->substr(0, 4), "TPF0");
    EXPECT_EQ(form->substr(4, 12), "\x0BTSampleForm");
    EXPECT_EQ(platform::LoadResource(platform::RT_RCDATA, "SAMPLEDATA"), "hello resources\n");
    EXPECT_FALSE(platform::FindResource(platform::RT_BITMAP, "SampleData").has_value());
}

TEST(Resources, MissingResourceAndWritingFail) {
    try {
        platform::TResourceStream stream("TNOSUCHFORM");
        FAIL();
    } catch (const rtl::EResNotFound& e) {
        EXPECT_STREQ(e.what(), "Resource TNOSUCHFORM not found");
    }
    platform::TResourceStream stream("TSampleForm");
    char sig[4];
    stream.ReadBuffer(sig, 4);
    EXPECT_EQ(std::string(sig, 4), "TPF0");
    try {
        stream.WriteBuffer("x", 1);
        FAIL();
    } catch (const rtl::EStreamError& e) {
        EXPECT_STREQ(e.what(), "Can't write to a read-only resource stream");
    }
}
