// The framework's fatal reports, each in a child process: unreadable templates, a start
// window that cannot load, and the property and event errors.
#include <gtest/gtest.h>

#include "tests/win/child_process.h"

namespace {

struct Case {
    const wchar_t* mode;
    const wchar_t* message;
};

void ExpectFatal(const Case& c) {
    SCOPED_TRACE(c.mode);
    ChildProcess child(TestBinaryPath(L"forms_child.exe"), {c.mode});
    ASSERT_TRUE(child.started());
    MessageBoxSeen box = child.CloseNextMessageBox();
    EXPECT_TRUE(box.found);
    EXPECT_EQ(box.caption, L"错误");
    EXPECT_EQ(box.text, std::wstring(L"运行时出错!\r\n\r\n错误信息：") + c.message + L"\r\n");
    EXPECT_EQ(child.Wait(), 0xFFFFFFFFu);
}

}  // namespace

TEST(FormsFatal, TruncatedOrCorruptedTemplatesEndInTheTemplateMessage) {
    ExpectFatal({L"template-truncated", L"载入窗口模板数据段出错!"});
    ExpectFatal({L"template-corrupt", L"载入窗口模板数据段出错!"});
}

TEST(FormsFatal, AStartWindowThatIsUnknownOrWhoseTypeDataIsTooNewCannotLoad) {
    ExpectFatal({L"start-window-version", L"载入启动窗口失败"});
    ExpectFatal({L"start-window-unknown", L"载入启动窗口失败"});
}

TEST(FormsFatal, PropertyAccessToAWindowThatIsNotLoaded) {
    ExpectFatal({L"read-unloaded", L"未载入欲访问窗口组件所在的窗口"});
}

TEST(FormsFatal, TypePropertyOfAUnitWithoutWindow) {
    ExpectFatal({L"read-no-window", L"指定窗口尚未载入"});
    ExpectFatal({L"write-no-window", L"指定窗口尚未载入"});
}

TEST(FormsFatal, EventsForAnUnknownWindowUnitOrInvalidUnitType) {
    ExpectFatal({L"event-window", L"未找到引发事件的窗口"});
    ExpectFatal({L"event-unit", L"未找到引发事件的窗口组件"});
    ExpectFatal({L"event-invalid", L"引发事件的窗口组件无效"});
}

TEST(FormsFatal, ResolvingAUnitWithoutWindowIsFatal) {
    ExpectFatal({L"resolve-missing", L"指定窗口或窗口组件不存在或尚未载入"});
}
