#include <gtest/gtest.h>

#include "app/application.h"
#include "framework/mbstring.h"

namespace {

std::string LoweredArguments(const char* line) { return mb::ToLower(ArgumentsOf(line), 949); }

TEST(CommandLine, ExitInAnyLetterCaseIsAnExitRequest) {
    EXPECT_TRUE(IsExitRequest(LoweredArguments("Dioramix.exe -exit")));
    EXPECT_TRUE(IsExitRequest(LoweredArguments("\"C:\\Program Files\\Dioramix\\Dioramix.exe\" -EXIT")));
    EXPECT_TRUE(IsExitRequest(LoweredArguments("Dioramix.exe -ExIt")));
}

TEST(CommandLine, AnythingElseIsANormalRun) {
    EXPECT_FALSE(IsExitRequest(LoweredArguments("Dioramix.exe")));
    EXPECT_FALSE(IsExitRequest(LoweredArguments("Dioramix.exe -exit ")));
    EXPECT_FALSE(IsExitRequest(LoweredArguments("Dioramix.exe -exit now")));
    EXPECT_FALSE(IsExitRequest(LoweredArguments("Dioramix.exe exit")));
    EXPECT_FALSE(IsExitRequest(LoweredArguments("\"Dioramix.exe\"")));
}

TEST(CommandLine, ArgumentsAreTakenWholeAfterTheProgramName) {
    EXPECT_EQ("-a -b", ArgumentsOf("prog.exe   -a -b"));
    EXPECT_EQ("-x ", ArgumentsOf("\"c:\\my dir\\prog.exe\" -x "));
    EXPECT_EQ("", ArgumentsOf("\"c:\\unterminated"));
    EXPECT_EQ("", ArgumentsOf(""));
}

}  // namespace
