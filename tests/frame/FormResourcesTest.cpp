#include <gtest/gtest.h>

#include "TestClasses.h"
#include "frame/FormResources.h"

using namespace frametest;

// test_frame embeds resources/TestForm.form as RCDATA "TTESTFORM".
TEST(FormResources, ReadsTheClassChainAndCallsAfterLoadOnce) {
    RegisterTestClasses();
    TTestForm form(nullptr);
    EXPECT_TRUE(LoadFormResources(&form, TComponent::StaticClass()));
    ASSERT_NE(form.Button1, nullptr);
    EXPECT_EQ(form.Button1->m_caption, "Из ресурса");
    EXPECT_EQ(form.Button1->m_log, std::vector<std::string>{"AfterLoad"});
    EXPECT_FALSE(form.HasState(csLoading));

    TTestControl plain(nullptr); // no resource for its class
    EXPECT_FALSE(LoadFormResources(&plain, TComponent::StaticClass()));
}
