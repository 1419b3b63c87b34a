#include <gtest/gtest.h>

#include "app/application.h"
#include "framework/mbstring.h"

namespace {

std::string LoweredArguments(const char* line) { return mb::ToLower(ArgumentsOf(line), 949); }

// Arguments are taken whole after the program name; "-exit" in any letter case, alone, is an exit
// request, anything else is a normal run.
TEST(CommandLine, ArgumentsAreTakenWholeAfterTheProgramNameAndExitInAnyLetterCaseIsAnExitRequest) {
    for (const char* line : {"Dioramix.exe -exit", "\"C:\\Program Files\\Dioramix\\Dioramix.exe\" -EXIT", "Dioramix.exe -ExIt"})
        EXPECT_TRUE(IsExitRequest(LoweredArguments(line))) << line;
    for (const char* line : {"Dioramix.exe", "Dioramix.exe -exit ", "Dioramix.exe -exit now", "Dioramix.exe exit", "\"Dioramix.exe\""})
        EXPECT_FALSE(IsExitRequest(LoweredArguments(line))) << line;

    EXPECT_EQ("-a -b", ArgumentsOf("prog.exe   -a -b"));
    EXPECT_EQ("-x ", ArgumentsOf("\"c:\\my dir\\prog.exe\" -x "));
    EXPECT_EQ("", ArgumentsOf("\"c:\\unterminated"));
    EXPECT_EQ("", ArgumentsOf(""));
}

}  // namespace
