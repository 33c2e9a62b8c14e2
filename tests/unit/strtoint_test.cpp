#include "rules/strtoint.h"

#include <gtest/gtest.h>

#include <string>

#include "picture/errors.h"

namespace tintbox {
namespace {

TEST(StrToInt, AcceptedTexts) {
  struct Case {
    const char* text;
    int32_t want;
  } cases[] = {
      {"  5", 5},
      {"5", 5},
      {"$A", 10},
      {"$a", 10},
      {"0x0A", 10},
      {"0X1f", 31},
      {"x1F", 31},
      {"X1f", 31},
      {"+3", 3},
      {"0", 0},
      {"-1", -1},
      {"007", 7},
      {"-$10", -16},
      {" +0x10", 16},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"0000000000000000000012", 12},  // leading zeros never overflow
      {"$7FFFFFFF", 2147483647},
      {"$FFFFFFFF", -1},  // hexadecimal is the 32-bit pattern
      {"$80000000", INT32_MIN},
      {"$000000000001", 1},
  };
  for (const Case& c : cases) {
    try {
      EXPECT_EQ(StrToInt(c.text), c.want) << "text '" << c.text << "'";
    } catch (const Exception& e) {
      ADD_FAILURE() << "text '" << c.text << "' raised " << e.ClassName() << " " << e.Message();
    }
  }
}

TEST(StrToInt, RejectedTextsRaiseConvertErrorNamingTheText) {
  const char* texts[] = {
      "",
      "5 ",
      "12a",
      " ",
      "+",
      "-",
      "$",
      "0x",
      "x",
      "2147483648",
      "-2147483649",
      "$100000000",
      "99999999999999999999",
      "1 2",
      "--1",
      "+-1",
      "\t5",
      "5\n",
      "0x-1",
      "$ A",
      "1e3",
      "1.0",
      "$G",
      "0b1",
      "٣",
  };
  for (const char* text : texts) {
    try {
      const int32_t got = StrToInt(text);
      ADD_FAILURE() << "text '" << text << "' gave " << got << ", want EConvertError";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(),
                std::string("'") + text + "' is not a valid integer value for Integer type");
    }
  }
}

TEST(StrToInt, ExactMessage) {
  try {
    StrToInt("12a");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'12a' is not a valid integer value for Integer type");
    EXPECT_STREQ(e.ClassName(), "EConvertError");
  }
  try {
    StrToInt("пять");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'пять' is not a valid integer value for Integer type");
  }
}

}  // namespace
}  // namespace tintbox
