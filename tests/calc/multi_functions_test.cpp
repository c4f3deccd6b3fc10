// The functions that take their arguments through ParamStack.

#include <gtest/gtest.h>

#include "formula_runner.h"

namespace paginor::calc::test {
namespace {

TEST(MultiFunctionsTest, Copy) {
  EXPECT_EQ(Eval("copy(\"abcdef\",3,2)"), "\"cd\"");
  EXPECT_EQ(Eval("copy(\"abc\",4,1)"), "\"\"");
  EXPECT_EQ(Eval("copy(\"abc\",2,0)"), "\"\"");
  EXPECT_EQ(Eval("copy(\"abc\",0,2)"), "\"ab\"");
  EXPECT_EQ(Eval("copy(\"abc\",2)"), "\"bc\"");
  EXPECT_EQ(Eval("copy(\"abc\",2,99)"), "\"bc\"");
  EXPECT_EQ(Eval("copy(12345,2,3)"), "\"234\"");
  EXPECT_EQ(Eval("copy(\"abc\")"), "ERROR: Not enough params");
}

TEST(MultiFunctionsTest, CopyTo) {
  EXPECT_EQ(Eval("copyto(\"abcdef\",2,4)"), "\"bcd\"");
  EXPECT_EQ(Eval("copyto(\"abc\",3,2)"), "\"\"");
  EXPECT_EQ(Eval("copyto(\"abc\",2)"), "\"bc\"");
  EXPECT_EQ(Eval("copyto(\"abc\",0,2)"), "\"ab\"");
  EXPECT_EQ(Eval("copyto(\"abc\",2,9)"), "\"bc\"");
  EXPECT_EQ(Eval("copyto(\"abc\",4,9)"), "\"\"");
}

TEST(MultiFunctionsTest, Pos) {
  EXPECT_EQ(Eval("pos(\"c\",\"abc\")"), "3");
  EXPECT_EQ(Eval("pos(\"x\",\"abc\")"), "0");
  EXPECT_EQ(Eval("pos(\"\",\"abc\")"), "0");
  EXPECT_EQ(Eval("pos(\"\xe6\x96\x87\",\"\xe4\xb8\xad\xe6\x96\x87\")"), "4");
}

TEST(MultiFunctionsTest, Delete) {
  EXPECT_EQ(Eval("delete(\"abcdef\",2,3)"), "\"aef\"");
  EXPECT_EQ(Eval("delete(\"abc\",5,1)"), "\"abc\"");
  EXPECT_EQ(Eval("delete(\"abc\",0,1)"), "\"abc\"");
  EXPECT_EQ(Eval("delete(\"abc\",2)"), "\"a\"");
  EXPECT_EQ(Eval("delete(\"abc\",2,0)"), "\"abc\"");
  EXPECT_EQ(Eval("delete(12345,2,3)"), "15");  // the kind follows the formula
}

TEST(MultiFunctionsTest, Replace) {
  EXPECT_EQ(Eval("replace(\"aAa\",\"a\",\"b\")"), "\"bbb\"");
  EXPECT_EQ(Eval("replace(\"aAa\",\"a\",\"b\",1,0)"), "\"bAb\"");
  EXPECT_EQ(Eval("replace(\"aAa\",\"a\",\"b\",0,0)"), "\"bAa\"");
  EXPECT_EQ(Eval("replace(\"aAa\",\"a\",\"b\",0)"), "\"bAa\"");
  EXPECT_EQ(Eval("replace(\"aAa\",\"a\",\"b\",2,2)"), "\"bAa\"");
  EXPECT_EQ(Eval("replace(\"aaa\",\"a\",\"aa\")"), "\"aaaaaa\"");
  EXPECT_EQ(Eval("replace(\"a b\",\" \",\"_\")"), "\"a b\"");  // arguments are trimmed
  EXPECT_EQ(Eval("replace(\"abc\",\"\",\"x\")"), "\"abc\"");
  EXPECT_EQ(Eval("replace(\"\xce\xb1\xce\x91\xe4\xb8\xad\",\"\xce\xb1\",\"b\")"),
            "\"bb\xe4\xb8\xad\"");  // Greek letters match without regard to case
  EXPECT_EQ(Eval("replace(\"abc\",\"b\")"), "ERROR: Not enough params");
}

TEST(MultiFunctionsTest, Aggregates) {
  EXPECT_EQ(Eval("maxval(3,\"7\",5)"), "7");
  EXPECT_EQ(Eval("minval(3,1,2)"), "1");
  EXPECT_EQ(Eval("avgval(1,2)"), "1.5");
  EXPECT_EQ(Eval("sumval(0.1,0.2)"), "0.3");
  EXPECT_EQ(Eval("sumval(1,2,3,4,5,6,7)"), "28");
  EXPECT_EQ(Eval("maxval(4)"), "4");
  EXPECT_EQ(Eval("maxval(1,\"x\")"), "ERROR: Error, convert to numeric value:x");
  EXPECT_EQ(Eval("maxval(\"[!!!]\")"), "ERROR: Error, not enough params");
  EXPECT_EQ(Eval("sumval(maxval(1,2),minval(3,4))"), "5");
}

TEST(MultiFunctionsTest, Iff) {
  EXPECT_EQ(Eval("iff(1,5,6)"), "\"5\"");
  EXPECT_EQ(Eval("1*iff(1,5,6)"), "5");
  EXPECT_EQ(Eval("iff(0.99999995,\"y\",\"n\")"), "\"y\"");
  EXPECT_EQ(Eval("iff(2,\"y\",\"n\")"), "\"n\"");
  EXPECT_EQ(Eval("iff(1,\" y \",\"n\")"), "\"y\"");
  EXPECT_EQ(Eval("iff(1,2)"), "ERROR: Not enough params");
  // All arguments are evaluated.
  EXPECT_EQ(Eval("iff(1,2,nosuch)"), "ERROR: Unknown variable:nosuch");
  EXPECT_EQ(Eval("iff(1,2,3,4,5)"), "\"2\"");
}

TEST(MultiFunctionsTest, Insert) {
  EXPECT_EQ(Eval("insert(\"abc\",\"X\",9)"), "\"abcX\"");
  EXPECT_EQ(Eval("insert(\"abc\",\"X\",0)"), "\"Xabc\"");
  EXPECT_EQ(Eval("insert(\"abc\",\"X\",2)"), "\"aXbc\"");
  EXPECT_EQ(Eval("insert(\"\",\"X\",5)"), "\"X\"");
}

TEST(MultiFunctionsTest, NumBase) {
  EXPECT_EQ(Eval("numbase(255,16)"), "\"FF\"");
  EXPECT_EQ(Eval("numbase(5,1)"), "\"101\"");
  EXPECT_EQ(Eval("numbase(10,99)"), "\"A\"");
  EXPECT_EQ(Eval("numbase(0,2)"), "\"0\"");
  // A negative number is its magnitude after a minus sign.
  EXPECT_EQ(Eval("numbase(0-255,16)"), "\"-FF\"");
  EXPECT_EQ(Eval("numbase(x,2)", "x=-2147483648"), "\"-10000000000000000000000000000000\"");
}

TEST(MultiFunctionsTest, BaseNum) {
  EXPECT_EQ(Eval("basenum(\"ff\",16)"), "255");
  EXPECT_EQ(Eval("basenum(\"0\",10)"), "");
  EXPECT_EQ(Eval("basenum(\"G\",16)"), "");
  EXPECT_EQ(Eval("basenum(\"9\",2)"), "9");
  EXPECT_EQ(Eval("basenum(\"7fffffff\",16)"), "2147483647");
  // Beyond the 32-bit range the value is given up rather than wrapped around.
  EXPECT_EQ(Eval("basenum(\"80000000\",16)"), "");
  EXPECT_EQ(Eval("basenum(\"100000001\",16)"), "");
  EXPECT_EQ(Eval("basenum(\"000000000000000000000000000000000000000000001\",2)"), "1");
}

TEST(MultiFunctionsTest, ArgumentsNestAndAreTrimmed) {
  EXPECT_EQ(Eval("copy(\"abcdef\",copy(\"23\",1,1),2)"), "\"bc\"");
  EXPECT_EQ(Eval("copy( \"abc\" , 2 , 1 )"), "\"b\"");
  EXPECT_EQ(Eval("copy(copy(\"abcdef\",2),copy(\"2\",1),2)"), "\"cd\"");
  EXPECT_EQ(Eval("pos(\"b\",copy(\"abc\",1))+pos(\"c\",\"abc\")"), "5");
}

// The argument list ends at a line "[!!!]", the marker of an enclosing call.
TEST(MultiFunctionsTest, AnArgumentThatIsTheMarkerEndsTheList) {
  EXPECT_EQ(Eval("copy(\"[!!!]\",1,1)"), "ERROR: Not enough params");
}

TEST(MultiFunctionsTest, MoreThanFiveArgumentsFail) {
  EXPECT_EQ(Eval("copy(\"abc\",1,1,1,1,1)"), "ERROR: invalid formule");
  EXPECT_EQ(Eval("copy(\"abc\",1,1,1,1)"), "\"a\"");
  EXPECT_EQ(Eval("copy(copy(\"abc\",1,1,1,1,1),1)"), "ERROR: invalid formule");
}

}  // namespace
}  // namespace paginor::calc::test
