#include "platform/host/vxArray.hpp"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(vxArrayTest, StringRoundTripsThroughAFreshCopyThatTheCallerFreesOthersHaveNone) {
    vxArrayPtr text(vxCreateString("h\xC3\xA9llo"));
    EXPECT_TRUE(vxIsChar(text.get()));
    EXPECT_EQ(vxGetNumberOfElements(text.get()), 6u); // one element per byte
    char* copy = vxArray2String(text.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "h\xC3\xA9llo");
    copy[0] = 'X'; // the copy is the caller's, not the array's
    EXPECT_EQ(text->chars(), "h\xC3\xA9llo");
    vxFree(copy);

    vxArrayPtr empty(vxCreateString(nullptr));
    EXPECT_TRUE(vxIsEmpty(empty.get()));
    char* emptyCopy = vxArray2String(empty.get());
    EXPECT_STREQ(emptyCopy, "");
    vxFree(emptyCopy);
    // Arrays that hold no characters have no string form.
    vxArrayPtr number(vxCreateDoubleScalar(3));
    EXPECT_EQ(vxArray2String(number.get()), nullptr);
    EXPECT_EQ(vxArray2String(nullptr), nullptr);
    vxFree(nullptr);
}

TEST(vxArrayTest, DoubleMatrixHasItsShapeAndZeroedValues) {
    vxArrayPtr matrix(vxCreateDoubleMatrix_730(2, 3, vxREAL));
    EXPECT_EQ(vxGetM(matrix.get()), 2u);
    EXPECT_EQ(vxGetN(matrix.get()), 3u);
    EXPECT_EQ(vxGetNumberOfElements(matrix.get()), 6u);
    ASSERT_NE(vxGetPr(matrix.get()), nullptr);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(vxGetPr(matrix.get())[i], 0.0);
    vxGetPr(matrix.get())[5] = 2.5;
    vxArrayPtr copy(vxDuplicateArray(matrix.get()));
    EXPECT_EQ(vxGetPr(copy.get())[5], 2.5);

    vxArrayPtr empty(vxCreateDoubleMatrix_730(0, 0, vxREAL));
    EXPECT_TRUE(vxIsEmpty(empty.get()));
    EXPECT_EQ(vxGetClassName(empty.get()), "double");
}

TEST(vxArrayTest, ScalarsOfEachClassReadAsNumbersAndTextDoesNot) {
    vxArrayPtr flag(vxCreateLogicalScalar(true));
    vxArrayPtr count(vxCreateInt32Scalar(-7));
    EXPECT_EQ(vxGetClassName(flag.get()), "logical");
    EXPECT_EQ(vxGetClassName(count.get()), "int32");
    EXPECT_EQ(vxGetScalar(flag.get()), 1.0);
    EXPECT_EQ(vxGetScalar(count.get()), -7.0);
    EXPECT_EQ(vxGetPr(count.get()), nullptr); // only doubles expose their values

    // Reading a number from text or from nothing is a host error.
    vxArrayPtr text(vxCreateString("12"));
    vxArrayPtr empty(vxCreateEmptyArray());
    try {
        vxGetScalar(text.get());
        FAIL() << "no error raised";
    } catch (const vxHostError& error) {
        EXPECT_EQ(error.id(), "QUASAR:vx:notNumeric");
        EXPECT_NE(error.text().find("'char'"), std::string::npos);
    }
    EXPECT_THROW(vxGetScalar(empty.get()), vxHostError);
    EXPECT_THROW(vxGetScalar(nullptr), vxHostError);
}

TEST(vxArrayTest, ErrMsgIdAndTxtRaisesAHostErrorWithThatIdAndText) {
    try {
        vxErrMsgIdAndTxt("KITE:test:id", "100% sure: %s is not a format");
        FAIL() << "returned";
    } catch (const vxHostError& error) {
        EXPECT_EQ(error.id(), "KITE:test:id");
        EXPECT_EQ(error.text(), "100% sure: %s is not a format");
    }
}

} // namespace
