#include "runtime/runtime_errors.h"

#include <gtest/gtest.h>

TEST(RuntimeErrors, TheTableServesCodesOneToElevenOnly) {
    EXPECT_EQ(RuntimeErrorMessage(0), nullptr);
    EXPECT_EQ(RuntimeErrorMessage(12), nullptr);
    EXPECT_EQ(RuntimeErrorMessage(-1), nullptr);
    EXPECT_STREQ(RuntimeErrorMessage(6), "调用DLL命令后发现堆栈错误");
    EXPECT_STREQ(RuntimeErrorMessage(11), "所提供参数的数据类型不符合要求");
}

TEST(RuntimeErrors, ReportTextHasCodeAndMessageLinesOnlyWhenGiven) {
    EXPECT_EQ(BuildFatalReportText("", 0), "运行时出错!\r\n\r\n");
    EXPECT_EQ(BuildFatalReportText(nullptr, 3), "运行时出错!\r\n\r\n错误代码：3\r\n\r\n");
    EXPECT_EQ(BuildFatalReportText("x", 0), "运行时出错!\r\n\r\n错误信息：x\r\n");
    EXPECT_EQ(BuildFatalReportText("x", -7), "运行时出错!\r\n\r\n错误代码：-7\r\n\r\n错误信息：x\r\n");
}

TEST(RuntimeErrors, MessagesAreFilledIn) {
    EXPECT_EQ(AllocationFailedMessage(1048576), "分配 1048576 字节内存失败!");
    EXPECT_EQ(FormatFatalMessage("无法找到指定DLL库文件“%s”中的输出命令“%s”", "a.dll", "#12"),
              "无法找到指定DLL库文件“a.dll”中的输出命令“#12”");
    // A GBK library name whose bytes include '%' or 's' is copied as it is.
    EXPECT_EQ(FormatFatalMessage("[%s]", "%s\xB0\x73"), "[%s\xB0\x73]");
}
