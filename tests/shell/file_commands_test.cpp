#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "support/run_kavro.hpp"

using testing::HasSubstr;
using testing::EndsWith;

namespace {

using kavro_test::run;
using kavro_test::sjis;

std::string numbered_lines(int n) {
    std::string s;
    for (int i = 1; i <= n; ++i) s += "line " + std::to_string(i) + "\n";
    return s;
}

TEST(Cp, CopiesAndMarksEveryTenthLine) {
    const std::string text = numbered_lines(25);
    auto r = run({.args = {"cp", "a", "b"}, .files = {{"a", text}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.file("b"), text);
    EXPECT_THAT(r.out, EndsWith("a b \nCopying file: a to b.\nCopying text file...\n..\n\n" + sjis("完了.\n")));
}

TEST(Cp, LongLinesCrLfAndMissingLastNewlineAreCopiedUnchanged) {
    const std::string text = std::string(1200, 'x') + "\n" + std::string(510, 'y') + "\r\n" +
                             std::string(511, 'z') + "\r\nshort\r\nlast";
    auto r = run({.args = {"copy", "a", "b"}, .files = {{"a", text}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.file("b"), text);
}

TEST(Cp, MissingNamesAndFilesFail) {
    auto one = run({.args = {"cp", "a"}, .files = {{"a", "x\n"}}});
    EXPECT_EQ(one.status, 1);
    EXPECT_THAT(one.out, HasSubstr("Copying file: a to .\n"));

    auto missing = run({.args = {"cp", "nothere", "b"}});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Cannot open file: nothere\n\n");
    EXPECT_FALSE(missing.exists("b"));
}

TEST(Cp, OntoItselfIsRefusedAndKeepsTheFile) {
    auto r = run({.args = {"cp", "a", "./a"}, .files = {{"a", "keep\n"}}});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.file("a"), "keep\n");
}

TEST(Rm, GoesOnPastAFailure) {
    auto r = run({.args = {"rm", "a", "b", "c"}, .files = {{"a", "1"}, {"c", "3"}}});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.exists("a"));
    EXPECT_FALSE(r.exists("c"));
    EXPECT_THAT(r.out, HasSubstr("File: a removed.\nFile: c removed.\n"));
    EXPECT_EQ(r.err, "Unable to remove file: b.\n");
}

TEST(Fcat, AppendsAndCreatesTheTarget) {
    auto r = run({.args = {"fcat", "a", "b"}, .files = {{"a", "first\n"}, {"b", "second\n"}}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.file("a"), "first\nsecond\n");
    EXPECT_THAT(r.out, HasSubstr("Adding text file: b after the file: a\n"));

    auto created = run({.args = {"cat", "new", "b"}, .files = {{"b", "second\n"}}});
    EXPECT_EQ(created.status, 0);
    EXPECT_EQ(created.file("new"), "second\n");
}

TEST(Fcat, FailuresAndSelfAppend) {
    auto missing = run({.args = {"fcat", "a", "nothere"}, .files = {{"a", "first\n"}}});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Cannot open file: nothere\n");
    EXPECT_EQ(missing.file("a"), "first\n");

    auto self = run({.args = {"fcat", "a", "a"}, .files = {{"a", "first\n"}}, .timeout_seconds = 10});
    EXPECT_EQ(self.status, 1);
    EXPECT_EQ(self.file("a"), "first\n");

    auto count = run({.args = {"fcat", "a"}, .files = {{"a", "first\n"}}});
    EXPECT_EQ(count.status, 1);
}

}  // namespace
